#include "ast/django_args.h"

#include <gtest/gtest.h>

#include "ast/test_support.h"

namespace tarn {
namespace {

using testing::expect_decoded;

TEST(ReadRunSqlAndRunPythonArgs, Forms) {
  expect_decoded({
      {"migrations.RunSQL('SELECT 1;;')", {"RunSQL sql=[SELECT 1;;]"}},
      {"migrations.RunSQL(['CREATE INDEX a;', 'CREATE INDEX b;'])", {"RunSQL sql=[CREATE INDEX a;\nCREATE INDEX b]"}},
      {"migrations.RunSQL(sql=('A;;;', # first\n 'B; ', 'C' 'D;'))", {"RunSQL sql=[A;\nB; ;\nCD]"}},
      {"migrations.RunSQL([('INSERT x VALUES (%s);', [1]), ['B', 2]])", {"RunSQL sql=[INSERT x VALUES (%s);\nB]"}},
      {"migrations.RunSQL(['A', 1])", {"RunSQL sql=[]"}},
      {"migrations.RunSQL(f'DROP {x}', 'B')", {"RunSQL sql=[] reverse=[B]"}},
      {"migrations.RunSQL(migrations.RunSQL.noop, reverse_sql=None)", {"RunSQL sql=[]"}},
      {"migrations.RunSQL(SQL, BOTH)",
       {"RunSQL sql=[CREATE INDEX x;] reverse=[A;\nB]"},
       "SQL = 'CREATE INDEX x;'\nBOTH = ['A;', 'B']"},
      {"migrations.RunSQL(sql=SQL)", {"RunSQL sql=[]"}, "SQL = 1"},
      {"migrations.RunSQL([('A;'), (  # pair\n ('B;', [1])), (('C',))])", {"RunSQL sql=[A;\nB;\nC]"}},
      {"migrations.RunSQL('A', reverse_sql=NotRunSQL.noop)", {"RunSQL sql=[A]"}},
      {"migrations.RunPython(code='forwards', reverse_code=migrations.RunPython.noop)",
       {"RunPython code=[forwards] reverse=[migrations.RunPython.noop]"}},
      {"migrations.RunPython(reverse_code=back)", {"RunPython code=[] reverse=[back]"}},
  });
}

TEST(ReadSeparateDatabaseAndStateArgs, Sides) {
  expect_decoded({
      {"migrations.SeparateDatabaseAndState(database_operations=[  # later\n], state_operations=None)",
       {"SeparateDatabaseAndState database=no state=no"}},
      {"migrations.SeparateDatabaseAndState([op], [])", {"SeparateDatabaseAndState database=yes state=no"}},
      {"migrations.SeparateDatabaseAndState(database_operations=T, state_operations=EMPTY)",
       {"SeparateDatabaseAndState database=yes state=no"},
       "EMPTY = []\nT = (x,)"},
      // Parentheses are looked through; a tuple is still no operation list.
      {"migrations.SeparateDatabaseAndState(database_operations=(  # db\n [migrations.DeleteModel('a')]), "
       "state_operations=(migrations.DeleteModel('a'),))",
       {"SeparateDatabaseAndState database=yes state=yes", "  DeleteModel name=a"}},
      // Nested to any depth, calls only.
      {"migrations.SeparateDatabaseAndState([1, migrations.SeparateDatabaseAndState(database_operations=["
       "migrations.AlterField('m', 'f', models.TextField())]), [migrations.DeleteModel('x')]])",
       {"SeparateDatabaseAndState database=yes state=no", "  SeparateDatabaseAndState database=yes state=no",
        "    AlterField model=m name=f {db_constraint}"}},
  });
}

TEST(ReadTogetherArgs, Entries) {
  expect_decoded({
      {"migrations.AlterUniqueTogether('m', None)", {"AlterUniqueTogether model=m empty"}},
      {"migrations.AlterUniqueTogether(unique_together= () )", {"AlterUniqueTogether model= empty"}},
      {"migrations.AlterUniqueTogether('m', index_together=[('a',)])", {"AlterUniqueTogether model=m empty"}},
      {"migrations.AlterIndexTogether('m', TOGETHER)", {"AlterIndexTogether model=m entries"}},
      // Emptiness is read from the tree, whatever the spacing, comments or parentheses.
      {"migrations.AlterUniqueTogether('m', ((None)))", {"AlterUniqueTogether model=m empty"}},
      {"migrations.AlterUniqueTogether('m', set([('a', 'b')]))", {"AlterUniqueTogether model=m entries"}},
  });
}

size_t count_operations(const std::vector<Operation>& ops, size_t depth, size_t& deepest) {
  size_t n = ops.size();
  if (!ops.empty()) deepest = std::max(deepest, depth);
  for (const Operation& op : ops) {
    if (const auto* s = std::get_if<payload::SeparateDatabaseAndState>(&op.payload)) {
      n += count_operations(s->database_operations, depth + 1, deepest);
    }
  }
  return n;
}

// Operation lists bound to variables can name themselves or each other; the
// decoding must stay finite and small whatever a file does with them.
TEST(ReadSeparateDatabaseAndStateArgs, VariableReuseStaysBounded) {
  expect_decoded({
      {"migrations.SeparateDatabaseAndState(OPS)",
       {"SeparateDatabaseAndState database=yes state=no", "  SeparateDatabaseAndState database=yes state=no"},
       "OPS = [migrations.SeparateDatabaseAndState(OPS)]"},
  });

  const auto analyze = [](const std::string& prelude, const std::string& operations) {
    const ParsedSource parsed =
        testing::parse_source(prelude + "class Migration:\n    operations = [" + operations + "]\n");
    return analyze_migration("app/migrations/0002_x.py", parsed);
  };
  // Each list names the one before twice: 2^60 operations if expanded fully.
  std::string doubling = "V0 = [migrations.DeleteModel('m')]\n";
  for (int i = 1; i <= 60; ++i) {
    const std::string prev = "V" + std::to_string(i - 1);
    doubling += "V" + std::to_string(i) + " = [migrations.SeparateDatabaseAndState(" + prev +
                "), migrations.SeparateDatabaseAndState(" + prev + ")]\n";
  }
  size_t deepest = 0;
  const size_t total =
      count_operations(analyze(doubling, "migrations.SeparateDatabaseAndState(V60)").operations, 0, deepest);
  EXPECT_GT(total, 1000u);
  EXPECT_LT(total, 1000000u);

  // A long chain of variables ends at a fixed nesting depth.
  std::string chain = "V0 = [migrations.DeleteModel('m')]\n";
  for (int i = 1; i <= 1000; ++i) {
    chain += "V" + std::to_string(i) + " = [migrations.SeparateDatabaseAndState(V" + std::to_string(i - 1) + ")]\n";
  }
  deepest = 0;
  count_operations(analyze(chain, "migrations.SeparateDatabaseAndState(V1000)").operations, 0, deepest);
  EXPECT_EQ(deepest, DjangoContext::kMaxOperationNesting);

  // One large SQL text named many times is not copied without bound.
  const std::string sql = "SQL = '" + std::string(1 << 20, 'x') + "'\n";
  std::string calls;
  for (int i = 0; i < 64; ++i) calls += "migrations.RunSQL(SQL), ";
  size_t copied = 0;
  for (const Operation& op : analyze(sql, calls).operations) copied += std::get<payload::Sql>(op.payload).sql.size();
  EXPECT_GE(copied, size_t{1} << 20);
  EXPECT_LE(copied, (size_t{1} << 20) + DjangoContext::kReuseBudgetBytes);
}

}  // namespace
}  // namespace tarn
