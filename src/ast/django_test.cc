#include "ast/django.h"

#include <gtest/gtest.h>

#include "ast/test_support.h"

namespace tarn {
namespace {

using testing::decoded;
using testing::expect_decoded;
using testing::Strings;

TEST(DecodeDjangoOperation, ClassAndNames) {
  expect_decoded({
      {"django.db.migrations.operations.DeleteModel('Book')", {"DeleteModel name=Book"}},
      {"ops.BackfillSlugs('m')", {"Other"}},
      {"migrations.RunSQL.noop('x')", {"Other"}},
      {"x()", {"Other"}},
      {"migrations.AlterModelOptions(name='m', options={'ordering': ['x']})", {"AlterModelOptions"}},
      {"migrations.AlterModelTable('m', 'shop_m')", {"AlterModelTable name=m"}},
      {"RemoveIndexConcurrently(model_name='m', name='i')", {"RemoveIndexConcurrently model=m"}},
      {"migrations.AddField(model_name=MODEL, name='f', field=x)", {"AddField model=MODEL name=f"}, "MODEL = 'book'"},
      {"migrations.AddField(name='f')", {"AddField model= name=f"}},
      {"migrations.AddField(f'{app}_m', 'f' 'g')", {"AddField model= name=fg"}},
      {"migrations.AlterField('m', 'f', old_name='x')", {"AlterField model=m name=f old=x"}},
      {"migrations.RenameField('m', 'a', 'b')", {"RenameField model=m name=a old=a new=b"}},
      {"migrations.RenameField(model_name='m', old_name='a', new_name='b')", {"RenameField model=m name= old=a new=b"}},
      {"migrations.RenameModel(new_name='B', old_name='A')", {"RenameModel name=B old=A"}},
      {"migrations.RenameModel()", {"RenameModel name="}},
      {"migrations.CreateModel(name='Book', fields=[], old_name='X')", {"CreateModel name=Book"}},
      // A repeated keyword: the first occurrence names. A comment is no positional argument.
      {"migrations.DeleteModel(name='A', name='B')", {"DeleteModel name=A"}},
      {"migrations.RemoveField(  # which model\n 'm', 'f')", {"RemoveField model=m name=f"}},
  });
}

TEST(DecodeDjangoOperation, FieldFlags) {
  const std::pair<std::string, const char*> cases[] = {
      {"ForeignKey(to='a.B', db_constraint=0)", "{fk,fk_class,db_constraint}"},
      {"models.CharField(db_index=True, max_length=3)", "{db_constraint,db_index}"},
      {"models.AutoField(primary_key=True)", "{db_constraint,unique}"},
      {"models.CharField(null = True )", "{db_constraint,null}"},
      {"models.CharField(null=(True))", "{db_constraint}"},
      {"models.CharField(null=1)", "{db_constraint}"},
      {"models.CharField(null=False, null=True)", "{db_constraint,null}"},
      {"models.JSONField(default=dict)", "{db_constraint,default}"},
      {"models.DateTimeField(db_default=None)", "{db_constraint}"},
      {"FIELD", ""},
      {"models.CharField", ""},
  };
  for (const auto& [field, flags] : cases) {
    const std::string flags_part = *flags ? std::string(" ") + flags : "";
    EXPECT_EQ(decoded("", "migrations.AddField('m', 'f', " + field + ")"),
              Strings{"AddField model=m name=f" + flags_part})
        << field;
  }
  // By keyword, AlterField alike; RemoveField reads no field.
  expect_decoded({
      {"migrations.AlterField(model_name='m', name='f', field=models.BooleanField(null=True))",
       {"AlterField model=m name=f {db_constraint,null}"}},
      {"migrations.RemoveField('m', 'f', models.BooleanField(null=True))", {"RemoveField model=m name=f"}},
  });
}

TEST(DecodeDjangoOperation, Constraints) {
  const std::pair<std::string, const char*> cases[] = {
      {"models.UniqueConstraint(fields=['a'], name='u', include=None, opclasses=set())", "Unique"},
      {"models.UniqueConstraint(fields=['a'], name='u', opclasses=['varchar_pattern_ops'])", "Unique non_plain"},
      {"models.UniqueConstraint(  # plain\n fields=['a'], name='u')", "Unique"},
      {"UniqueConstraint", "Other"},
      {"models.CheckConstraint(check=Q(a__gt=0), name='c', condition=Q(x=1))", "Check"},
      {"ExclusionConstraint(name='e', expressions=[])", "Exclusion"},
      {"models.Deferrable(name='x')", "Other"},
  };
  for (const auto& [constraint, kind] : cases) {
    EXPECT_EQ(decoded("", "migrations.AddConstraint(model_name='m', constraint=" + constraint + ")"),
              Strings{std::string("AddConstraint model=m ") + kind})
        << constraint;
  }
  expect_decoded({
      {"migrations.RemoveConstraint('m', 'u')", {"RemoveConstraint model=m Other"}},
      {"migrations.AddConstraint('m', models.UniqueConstraint(fields=['a'], name='u'))",
       {"AddConstraint model=m Unique"}},
  });
}

}  // namespace
}  // namespace tarn
