#include "ast/django.h"

#include <gtest/gtest.h>

#include "ast/test_support.h"

namespace tarn {
namespace {

using testing::expect_decoded;

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
  // By keyword, AlterField alike; RemoveField reads no field; a field that is no call carries no flags.
  expect_decoded({
      {"migrations.AddField('m', 'f', FIELD)", {"AddField model=m name=f"}},
      {"migrations.AlterField(model_name='m', name='f', field=models.BooleanField(null=True))",
       {"AlterField model=m name=f {db_constraint,null}"}},
      {"migrations.RemoveField('m', 'f', models.BooleanField(null=True))", {"RemoveField model=m name=f"}},
      // Values in parentheses are the values; a many-to-many field adds no column.
      {"migrations.AddField(('m'), name=('f'), field=(models.SlugField(null=(True), db_index=(  # no\n False), "
       "default=(None), unique=((True)))))",
       {"AddField model=m name=f {db_constraint,db_index_false,unique,null}"}},
      {"migrations.AddField('m', 'f', models.ManyToManyField(to='app.tag'))", {"AddField model=m name=f"}},
      {"migrations.AlterField('m', 'f', field=ManyToManyField('app.tag', blank=True))", {"AlterField model=m name=f"}},
      {"migrations.AddField('m', 'f', models.ManyToManyFieldish(to='app.tag'))",
       {"AddField model=m name=f {db_constraint}"}},
  });
}

}  // namespace
}  // namespace tarn
