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

}  // namespace
}  // namespace tarn
