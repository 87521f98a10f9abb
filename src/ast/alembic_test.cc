#include "ast/alembic.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ast/test_support.h"

namespace tarn {
namespace {

using testing::Strings;

Strings ops_of(const std::string& text) { return testing::summaries(alembic_operations(testing::parse_source(text))); }

TEST(DecodeAlembicOpCall, Table) {
  const std::pair<std::string, Strings> cases[] = {
      {"op.execute(f'SELECT {x}')", {}},
      {"op.create_index('ix', 'orders', ['a'], schema='')", {"AddIndex model=orders"}},
      {"op.create_index('ix', *cols)", {}},
      {"op.rename_table(old_table_name='old', new_table_name='new')", {"RenameModel @new name=new old=old"}},
      {"op.drop_column('t', column_name='c', schema='s')", {"RemoveField @s.t model=t name=c"}},
      {"op.alter_column('t', 'c', nullable=False, new_column_name='d', schema='s')",
       {"AlterField @s.t model=t name=c {db_constraint}", "RenameField @s.t model=t name=c old=c new=d"}},
      {"op.alter_column('t', 'c', None, None, None, 'd', sa.Text(), None, None, None, None, 's')",
       {"AlterField @s.t model=t name=c {db_constraint,null,type_changed}",
        "RenameField @s.t model=t name=c old=c new=d"}},
      {"op.alter_column('t', 'c', False, None, None, None, None, None, None, None, None, S)",
       {"AlterField model=t name=c {db_constraint}"}},
      {"op.add_column('t', column=Column('c', Integer))", {"AddField @t model=t name=c {db_constraint,null}"}},
      {"op.add_column('t', db.Column('c', sa.Text()))", {}},
      {"op.create_foreign_key('fk', 'src', 'dst', ['a'], ['id'], source_schema='s', referent_schema='r', "
       "postgresql_not_valid=True)",
       {"AddConstraint @s.src model=src ForeignKey not_valid"}},
      {"op.create_foreign_key('fk', source_table='src', referent_table='dst', local_cols=['a'], remote_cols=['id'])",
       {"AddConstraint @src model=src ForeignKey"}},
  };
  for (const auto& [call, ops] : cases) EXPECT_EQ(ops_of("def upgrade():\n    " + call + "\n"), ops) << call;
}

// A call is known by the name Python calls, however it is spelled; other
// names, even close ones, stay unknown.
TEST(AlembicOperations, CalleeSpellings) {
  const Strings index{"AddIndex @t model=t"};
  const Strings concurrent_in_block{"AddIndexConcurrently @t model=t ctx"};
  const Strings concurrent{"AddIndexConcurrently @t model=t"};
  const std::string create = "create_index('ix', 't', ['a'])";
  const std::string in_block = ":\n        op.create_index('ix', 't', ['a'], postgresql_concurrently=True)";
  const std::pair<std::string, Strings> cases[] = {
      {"op . " + create, index},
      {"op.\\\n        " + create, index},
      {"(op).create_index('ix', 't', ['a'])", index},
      {"(op  # the module\n    ).create_index('ix', 't', ['a'])", index},
      {"(op.create_index)('ix', 't', ['a'])", index},
      {"op.add_column('t', sa . Column('g', sa.Integer(), nullable=False))", {"AddField @t model=t name=g {db_constraint}"}},
      {"op.add_column('t', (sa).Column('g', sa.\\\n ForeignKey('u.id')))",
       {"AddField @t model=t name=g {fk,fk_class,db_constraint,null}"}},
      {"with op.get_context( ).autocommit_block()" + in_block, concurrent_in_block},
      {"with op.get_context(  # no arguments\n    ).autocommit_block()" + in_block, concurrent_in_block},
      {"with (op.get_context()) . autocommit_block()" + in_block, concurrent_in_block},
      {"ctx = op.get_context()\n    with (ctx).autocommit_block()" + in_block, concurrent_in_block},
      {"ctx = op . get_context()\n    with ctx.autocommit_block()" + in_block, concurrent_in_block},
      // An item that is no call leaves the others to be read.
      {"with lock, op.get_context().autocommit_block()" + in_block, concurrent_in_block},
      // Not the same name.
      {"op2." + create, {}},
      {"op_" + create, {}},
      {"getattr(op, 'create_index')('ix', 't', ['a'])", {}},
      {"op.batch." + create, {}},
      {"op[0]." + create, {}},
      {"op.create_index()('ix', 't', ['a'])", {}},
      {"op.add_column('t', sa.Column()('g', sa.Integer(), nullable=False))", {}},
      {"with op.get_context(x).autocommit_block()" + in_block, concurrent},
      {"with op.get_context(*[]).autocommit_block()" + in_block, concurrent},
      {"with (op.get_context).autocommit_block()" + in_block, concurrent},
      {"with other.op.get_context().autocommit_block()" + in_block, concurrent},
      {"ctx = other.get_context()\n    with ctx.autocommit_block()" + in_block, concurrent},
      {"ctx = op.get_context()\n    with ctx.autocommit_block(x)" + in_block, concurrent_in_block},
      {"ctx = op.get_context()\n    with ctx().autocommit_block()" + in_block, concurrent},
      {"ctx = op.get_context()\n    with ctx.other.autocommit_block()" + in_block, concurrent},
  };
  for (const auto& [call, ops] : cases) EXPECT_EQ(ops_of("def upgrade():\n    " + call + "\n"), ops) << call;
}

TEST(AlembicOperations, ManyContextBlocksStayFast) {
  // Each with statement would otherwise rescan everything before it.
  std::string text = "def upgrade():\n    ctx = op.get_context()\n";
  for (int i = 0; i < 20000; ++i) text += "    with ctx.autocommit_block():\n        op.execute('X')\n";
  const auto ops = alembic_operations(testing::parse_source(text));
  ASSERT_EQ(ops.size(), 20000u);
  EXPECT_TRUE(ops.back().in_autocommit_block());
}

}  // namespace
}  // namespace tarn
