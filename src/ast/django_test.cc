#include "ast/django.h"

#include <gtest/gtest.h>

#include "ast/test_support.h"

namespace tarn {
namespace {

using testing::expect_decoded;

TEST(DecodeDjangoOperation, ClassNames) {
  expect_decoded({
      {"", "migrations.AddField('m', 'f', models.IntegerField())",
       "AddField model=\"m\" name=\"f\" old=- new=- flags={db_constraint}\n"},
      {"", "AddField(model_name='m', name='f', field=models.IntegerField())",
       "AddField model=\"m\" name=\"f\" old=- new=- flags={db_constraint}\n"},
      {"", "django.db.migrations.operations.DeleteModel('Book')", "DeleteModel name=\"Book\" old=-\n"},
      {"", "migrations.addfield('m', 'f')", "Other empty\n"},
      {"", "migrations . AddField('m', 'f')", "Other empty\n"},
      {"", "ops.BackfillSlugs('m')", "Other empty\n"},
      {"", "migrations.RunSQL.noop('x')", "Other empty\n"},
      {"", "migrations.AlterModelOptions(name='m', options={'ordering': ['x']})", "AlterModelOptions empty\n"},
      {"", "migrations.AlterModelManagers(name='m', managers=[])", "AlterModelManagers empty\n"},
      {"", "migrations.AlterOrderWithRespectTo('m', 'o')", "AlterOrderWithRespectTo empty\n"},
      {"", "migrations.AlterModelTable('m', 'shop_m')", "AlterModelTable name=\"m\" old=-\n"},
      {"", "migrations.AddIndex(model_name='m', index=models.Index(fields=['a'], name='i'))",
       "AddIndex model=\"m\"\n"},
      {"", "AddIndexConcurrently('m', models.Index(fields=['a'], name='i'))", "AddIndexConcurrently model=\"m\"\n"},
      {"", "migrations.RemoveIndex('m', 'i')", "RemoveIndex model=\"m\"\n"},
      {"", "RemoveIndexConcurrently(model_name='m', name='i')", "RemoveIndexConcurrently model=\"m\"\n"},
      // A call that is no operation list element is still an operation: `migrations`
      // itself, an attribute call, anything with a function and arguments.
      {"", "x()", "Other empty\n"},
  });
}

TEST(DecodeDjangoOperation, Names) {
  expect_decoded({
      {"MODEL = 'book'", "migrations.AddField(model_name=MODEL, name='f', field=x)",
       "AddField model=\"MODEL\" name=\"f\" old=- new=- flags=-\n"},
      {"", "migrations.AddField(name='f')", "AddField model=\"\" name=\"f\" old=- new=- flags=-\n"},
      {"", "migrations.AddField(f'{app}_m', 'f' 'g')", "AddField model=\"\" name=\"fg\" old=- new=- flags=-\n"},
      {"", "migrations.RemoveField('m', 'f')", "RemoveField model=\"m\" name=\"f\" old=- new=- flags=-\n"},
      {"", "migrations.AlterField('m', 'f', old_name='x')",
       "AlterField model=\"m\" name=\"f\" old=\"x\" new=- flags=-\n"},
      {"", "migrations.RenameField('m', 'a', 'b')", "RenameField model=\"m\" name=\"a\" old=\"a\" new=\"b\" flags=-\n"},
      {"", "migrations.RenameField(model_name='m', old_name='a', new_name='b')",
       "RenameField model=\"m\" name=\"\" old=\"a\" new=\"b\" flags=-\n"},
      {"", "migrations.RenameModel('A', 'B')", "RenameModel name=\"B\" old=\"A\"\n"},
      {"", "migrations.RenameModel(new_name='B', old_name='A')", "RenameModel name=\"B\" old=\"A\"\n"},
      {"", "migrations.RenameModel()", "RenameModel name=\"\" old=-\n"},
      {"", "migrations.CreateModel(name='Book', fields=[], old_name='X')", "CreateModel name=\"Book\" old=-\n"},
      // A repeated keyword: the first occurrence names.
      {"", "migrations.DeleteModel(name='A', name='B')", "DeleteModel name=\"A\" old=-\n"},
      // A comment is no positional argument.
      {"", "migrations.RemoveField(  # which model\n 'm', 'f')",
       "RemoveField model=\"m\" name=\"f\" old=- new=- flags=-\n"},
  });
}

TEST(DecodeDjangoOperation, FieldFlags) {
  const auto add = [](const std::string& field) { return "migrations.AddField('m', 'f', " + field + ")"; };
  const std::pair<std::string, const char*> cases[] = {
      {"models.ForeignKey('a.B', on_delete=models.CASCADE, db_constraint=False)", "{fk,fk_class}"},
      {"models.OneToOneField('a.B', on_delete=models.CASCADE)", "{fk,db_constraint}"},
      {"ForeignKey(to='a.B', db_constraint=0)", "{fk,fk_class,db_constraint}"},
      {"models.SlugField()", "{db_constraint,db_index}"},
      {"models.SlugField(db_index=False)", "{db_constraint,db_index_false}"},
      {"models.CharField(db_index=True, max_length=3)", "{db_constraint,db_index}"},
      {"models.AutoField(primary_key=True)", "{db_constraint,unique}"},
      {"models.CharField(unique=True)", "{db_constraint,unique}"},
      {"models.CharField(null=True)", "{db_constraint,null}"},
      {"models.CharField(null = True )", "{db_constraint,null}"},
      {"models.CharField(null=(True))", "{db_constraint}"},
      {"models.CharField(null=1)", "{db_constraint}"},
      {"models.CharField(null=False, null=True)", "{db_constraint,null}"},
      {"models.CharField(default=None)", "{db_constraint}"},
      {"models.CharField(default=NOT_PROVIDED)", "{db_constraint}"},
      {"models.CharField(default=models.NOT_PROVIDED)", "{db_constraint}"},
      {"models.IntegerField(default=0)", "{db_constraint,default}"},
      {"models.JSONField(default=dict)", "{db_constraint,default}"},
      {"models.DateTimeField(db_default=Now())", "{db_constraint,db_default}"},
      {"models.DateTimeField(db_default=None)", "{db_constraint}"},
      {"FIELD", "-"},
      {"models.CharField", "-"},
  };
  for (const auto& [field, flags] : cases) {
    EXPECT_EQ(testing::decoded_operations("", add(field)),
              std::string("AddField model=\"m\" name=\"f\" old=- new=- flags=") + flags + "\n")
        << field;
  }
  // By keyword, AlterField alike; a positional field after a keyword one is not read.
  expect_decoded({
      {"", "migrations.AlterField(model_name='m', name='f', field=models.BooleanField(null=True))",
       "AlterField model=\"m\" name=\"f\" old=- new=- flags={db_constraint,null}\n"},
      {"", "migrations.RemoveField('m', 'f', models.BooleanField(null=True))",
       "RemoveField model=\"m\" name=\"f\" old=- new=- flags=-\n"},
  });
}

TEST(DecodeDjangoOperation, Constraints) {
  const auto add = [](const std::string& constraint) {
    return "migrations.AddConstraint(model_name='m', constraint=" + constraint + ")";
  };
  const std::pair<std::string, const char*> cases[] = {
      {"models.UniqueConstraint(fields=['a'], name='u')", "Unique"},
      {"models.UniqueConstraint(fields=['a'], name='u', condition=Q())", "Unique"},
      {"models.UniqueConstraint(fields=['a'], name='u', condition=models.Q(), include=[], opclasses=())", "Unique"},
      {"models.UniqueConstraint(fields=['a'], name='u', include=None, opclasses=set())", "Unique"},
      {"models.UniqueConstraint(fields=['a'], name='u', condition=Q(active=True))", "Unique non_plain"},
      {"models.UniqueConstraint(fields=['a'], name='u', include=['x'])", "Unique non_plain"},
      {"models.UniqueConstraint(fields=['a'], name='u', opclasses=['varchar_pattern_ops'])", "Unique non_plain"},
      {"models.UniqueConstraint(Lower('name'), name='u')", "Unique non_plain"},
      {"models.UniqueConstraint(  # plain\n fields=['a'], name='u')", "Unique"},
      {"UniqueConstraint", "Other"},
      {"models.CheckConstraint(check=Q(a__gt=0), name='c', condition=Q(x=1))", "Check"},
      {"ExclusionConstraint(name='e', expressions=[])", "Exclusion"},
      {"models.Deferrable(name='x')", "Other"},
      {"CONSTRAINT", "Other"},
  };
  for (const auto& [constraint, kind] : cases) {
    EXPECT_EQ(testing::decoded_operations("", add(constraint)), std::string("AddConstraint model=\"m\" ") + kind + "\n")
        << constraint;
  }
  expect_decoded({
      {"", "migrations.RemoveConstraint('m', 'u')", "RemoveConstraint model=\"m\" Other\n"},
      {"", "migrations.AddConstraint('m', models.UniqueConstraint(fields=['a'], name='u'))",
       "AddConstraint model=\"m\" Unique\n"},
  });
}

}  // namespace
}  // namespace tarn
