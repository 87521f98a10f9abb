#include "ast/django.h"

#include <gtest/gtest.h>

#include "ast/test_support.h"

namespace tarn {
namespace {

using testing::expect_decoded;

TEST(DecodeDjangoOperation, ClassNamesAndFields) {
  expect_decoded({
      {"django.db.migrations.operations.DeleteModel('Book')", {"DeleteModel name=Book"}},
      {"ops.BackfillSlugs('m')", {"Other"}},
      {"migrations.RunSQL.noop('x')", {"Other"}},
      {"migrations.AddField(model_name=MODEL, name='f', field=x)", {"AddField model=MODEL name=f"}, "MODEL = 'book'"},
      {"migrations.AddField(name='f')", {"AddField model= name=f"}},
      {"migrations.AddField(f'{app}_m', 'f' 'g')", {"AddField model= name=fg"}},
      {"migrations.AlterField('m', 'f', old_name='x')", {"AlterField model=m name=f old=x"}},
      {"migrations.RenameField('m', 'a', 'b')", {"RenameField model=m name=a old=a new=b"}},
      {"migrations.RenameField(model_name='m', old_name='a', new_name='b')", {"RenameField model=m name= old=a new=b"}},
      // A comment is no positional argument.
      {"migrations.RemoveField(  # which model\n 'm', 'f')", {"RemoveField model=m name=f"}},
      // Field flags: RemoveField reads no field; only the exact many-to-many class adds no column.
      {"migrations.RemoveField('m', 'f', models.BooleanField(null=True))", {"RemoveField model=m name=f"}},
      {"migrations.AddField('m', 'f', models.ManyToManyFieldish(to='app.tag'))",
       {"AddField model=m name=f {db_constraint}"}},
  });
}

// Operation, field and constraint classes are known by the name Python
// calls, however it is spelled; other names stay unknown.
TEST(DecodeDjangoOperation, CalleeSpellings) {
  const std::string fk = "'a', 'f', models . ForeignKey('app.b', on_delete=models.CASCADE)";
  const std::string unique = "UniqueConstraint(fields=['a'], name='u'";
  expect_decoded({
      {"migrations . AddIndex(model_name='m', index=x)", {"AddIndex model=m"}},
      {"migrations.\\\n        AddIndex(model_name='m', index=x)", {"AddIndex model=m"}},
      {"(migrations.AddIndex)(model_name='m', index=x)", {"AddIndex model=m"}},
      {"(migrations).AddField(" + fk + ")", {"AddField model=a name=f {fk,fk_class,db_constraint}"}},
      {"migrations.AddConstraint('m', models.  # comment\n        " + unique + "))", {"AddConstraint model=m Unique"}},
      {"migrations.AddConstraint('m', models." + unique + ", condition=models . Q( )))",
       {"AddConstraint model=m Unique"}},
      {"migrations.AddConstraint('m', models." + unique + ", condition=(models).Q(  # none\n)))",
       {"AddConstraint model=m Unique"}},
      {"migrations.RunSQL('X', migrations . RunSQL . noop)", {"RunSQL sql=[X] reverse=[]"}},
      {"migrations.AddField('a', 'f', models.IntegerField(default=models . NOT_PROVIDED))",
       {"AddField model=a name=f {db_constraint}"}},
      // Not the same name.
      {"getattr(migrations, 'AddIndex')(model_name='m', index=x)", {"Other"}},
      {"migrations.AddIndex()(model_name='m', index=x)", {"Other"}},
      {"migrations.AddField('a', 'f', models.ForeignKey()('app.b'))", {"AddField model=a name=f {db_constraint}"}},
      {"migrations.AddConstraint('m', models." + unique + ", condition=models.Q(a=1)))",
       {"AddConstraint model=m Unique non_plain"}},
      {"migrations.AddConstraint('m', models." + unique + ", condition=models.Q()()))",
       {"AddConstraint model=m Unique non_plain"}},
      {"migrations.AddConstraint('m', models." + unique + ", condition=other.Q()))",
       {"AddConstraint model=m Unique non_plain"}},
      {"migrations.AddConstraint('m', models." + unique + ", condition=getattr(models, 'Q')()))",
       {"AddConstraint model=m Unique non_plain"}},
      {"migrations.RunSQL('X', migrations.RunSQL.noop())", {"RunSQL sql=[X]"}},
  });
}

}  // namespace
}  // namespace tarn
