#include "ast/alembic.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ast/test_support.h"

namespace tarn {
namespace {

using testing::Strings;

Strings ops_of(const std::string& text) { return testing::summaries(alembic_operations(testing::parse_source(text))); }

TEST(AlembicOperations, WhichUpgradeIsWalked) {
  const std::pair<std::string, Strings> cases[] = {
      {"def downgrade():\n    op.drop_table('t')\n", {}},
      {"@decorate\ndef upgrade():\n    op.drop_table('t')\n", {}},
      {"class M:\n    def upgrade(self):\n        op.drop_table('t')\n", {}},
      {"async def upgrade():\n    op.drop_table('t')\n", {"DeleteModel @t name=t"}},
      // A lambda is no statement of upgrade; a class body inside it is.
      {"def upgrade():\n"
       "    f = lambda: op.drop_table('b')\n"
       "    class Inner:\n        op.drop_table('d')\n"
       "    sa.op.drop_table('u')\n",
       {"DeleteModel @d name=d"}},
  };
  for (const auto& [text, ops] : cases) EXPECT_EQ(ops_of(text), ops) << text;
}

TEST(AlembicOperations, AutocommitBlocks) {
  const std::string text = R"PY(
def upgrade():
    op.create_index('ix_a', 'orders', ['a'], postgresql_concurrently=True)
    with op.get_context().autocommit_block():
        if has_c:
            op.drop_index('ix_c', table_name='orders', postgresql_concurrently=True)
        with open('x') as fh:
            op.execute('SELECT 1')
    with open('y'), op.get_context().autocommit_block():
        op.execute('SELECT 2')
    with other.get_context().autocommit_block():
        op.execute('SELECT 4')
)PY";
  EXPECT_EQ(ops_of(text),
            (Strings{"AddIndexConcurrently @orders model=orders", "RemoveIndexConcurrently @orders model=orders ctx",
                     "RawSql sql=[SELECT 1] ctx", "RawSql sql=[SELECT 2] ctx", "RawSql sql=[SELECT 4]"}));
}

TEST(AlembicOperations, AutocommitThroughContextVariable) {
  // Each body ends with a with statement on `ctx`; the flag of its execute is expected.
  const std::pair<std::string, bool> cases[] = {
      {"    ctx = op.get_context(); other = 1\n", true},
      {"    ctx = op.get_context()\n    ctx = other()\n", false},
      {"    ctx = op.get_context()\n    if x:\n        ctx = other()\n", false},
      {"    if x:\n        ctx = op.get_context()\n", false},
      {"    ctx = op.get_context\n", false},
      {"    ctx: object = op.get_context()\n", true},
      {"    def f():\n        ctx = other()\n    ctx = op.get_context()\n", true},
      {"    ctx = op.get_context()\n    def f():\n        ctx = other()\n", true},
  };
  for (const auto& [before, autocommit] : cases) {
    EXPECT_EQ(ops_of("def upgrade():\n" + before + "    with ctx.autocommit_block():\n        op.execute('X')\n"),
              Strings{autocommit ? "RawSql sql=[X] ctx" : "RawSql sql=[X]"})
        << before;
  }
  // Only bindings before a with statement count, and not one inside the if
  // block that holds it; several with statements each see their own.
  EXPECT_EQ(ops_of("def upgrade():\n"
                   "    if y:\n"
                   "        ctx = op.get_context()\n"
                   "        with ctx.autocommit_block():\n            op.execute('X')\n"),
            Strings{"RawSql sql=[X]"});
  EXPECT_EQ(ops_of("def upgrade():\n"
                   "    with ctx.autocommit_block():\n        op.execute('A')\n"
                   "    ctx = op.get_context()\n"
                   "    with ctx.autocommit_block():\n        op.execute('B')\n"
                   "    ctx = None\n"
                   "    with ctx.autocommit_block():\n        op.execute('C')\n"),
            (Strings{"RawSql sql=[A]", "RawSql sql=[B] ctx", "RawSql sql=[C]"}));
}

TEST(AlembicOperations, CreateTableRecordsItsTableOnlyWhenCertain) {
  const std::pair<std::string, bool> cases[] = {
      {"    with open('f'):\n        op.create_table('t')\n", true},
      {"    op.create_table('t', if_not_exists=None)\n", true},
      {"    op.create_table('t', if_not_exists=flag)\n", false},
      {"    if x:\n        pass\n    else:\n        op.create_table('t')\n", false},
      {"    try:\n        pass\n    finally:\n        op.create_table('t')\n", false},
      {"    match x:\n        case 1:\n            op.create_table('t')\n", false},
  };
  for (const auto& [body, has_table] : cases) {
    EXPECT_EQ(ops_of("def upgrade():\n" + body), Strings{has_table ? "CreateModel @t name=t" : "CreateModel name=t"})
        << body;
  }
}

TEST(DecodeAlembicOpCall, Table) {
  const std::pair<std::string, Strings> cases[] = {
      {"op.execute(f'SELECT {x}')", {}},
      {"op.create_index('ix', table_name='orders', columns=['a'])", {"AddIndex @orders model=orders"}},
      {"op.create_index('ix', 'orders', ['a'], schema='sales')", {"AddIndex @sales.orders model=orders"}},
      {"op.create_index('ix', 'orders', ['a'], schema='')", {"AddIndex model=orders"}},
      {"op.create_index('ix', *cols)", {}},
      {"op.drop_index('ix')", {"RemoveIndex @ model="}},
      {"op.drop_table('t', schema='s')", {"DeleteModel @s.t name=t"}},
      {"op.drop_table(table_name='t')", {"DeleteModel @t name=t"}},
      {"op.rename_table('old', 'new', schema='s')", {"RenameModel @s.new name=new old=old"}},
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
      {"op.add_column('t', sqlalchemy.Column('c', Integer, sqlalchemy.ForeignKey('u.id')), schema='s')",
       {"AddField @s.t model=t name=c {fk,fk_class,db_constraint,null}"}},
      {"op.add_column('t', db.Column('c', sa.Text()))", {}},
      {"op.create_unique_constraint('uq', 't', ['a'], schema='s')", {"AddConstraint @s.t model=t Unique"}},
      {"op.create_foreign_key('fk', 'src', 'dst', ['a'], ['id'], source_schema='s', referent_schema='r', "
       "postgresql_not_valid=True)",
       {"AddConstraint @s.src model=src ForeignKey not_valid"}},
      {"op.create_foreign_key('fk', source_table='src', referent_table='dst', local_cols=['a'], remote_cols=['id'])",
       {"AddConstraint @src model=src ForeignKey"}},
      {"op.create_check_constraint('ck', 't', 'a > 0', postgresql_not_valid=True)",
       {"AddConstraint @t model=t Check not_valid"}},
      {"op.create_exclude_constraint('ex', 't', ('period', '&&'), using='gist')",
       {"AddConstraint @t model=t Exclusion"}},
      {"op.bulk_insert(table, rows)", {}},
  };
  for (const auto& [call, ops] : cases) EXPECT_EQ(ops_of("def upgrade():\n    " + call + "\n"), ops) << call;
}

TEST(AlembicOperations, DeeplyNestedUpgradeDoesNotExhaustTheStack) {
  // parse_python caps nesting; the walk over the deepest accepted tree is fine.
  std::string text = "def upgrade():\n";
  std::string indent = "    ";
  for (int i = 0; i < 60; ++i) {
    text += indent + "if x:\n";
    indent += " ";
  }
  text += indent + "op.create_table('t')\n";
  EXPECT_EQ(ops_of(text), Strings{"CreateModel name=t"});
}

TEST(AlembicOperations, ManyContextBlocksStayFast) {
  // Each with statement would otherwise rescan everything before it.
  std::string text = "def upgrade():\n    ctx = op.get_context()\n";
  for (int i = 0; i < 20000; ++i) text += "    with ctx.autocommit_block():\n        op.execute('X')\n";
  const auto ops = alembic_operations(testing::parse_source(text));
  ASSERT_EQ(ops.size(), 20000u);
  EXPECT_TRUE(ops.back().context_flag);
}

}  // namespace
}  // namespace tarn
