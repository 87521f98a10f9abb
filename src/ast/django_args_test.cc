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
      {"migrations.RunSQL('A', reverse_sql=migrations.RunSQL.sql)", {"RunSQL sql=[A]"}},
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
      // Only set() is an empty collection by name; frozenset() and dict literals count as entries.
      {"migrations.AlterUniqueTogether('m', set())", {"AlterUniqueTogether model=m empty"}},
      {"migrations.AlterUniqueTogether('m', (set)(  # nothing yet\n))", {"AlterUniqueTogether model=m empty"}},
      {"migrations.AlterUniqueTogether('m', frozenset())", {"AlterUniqueTogether model=m entries"}},
      {"migrations.AlterUniqueTogether('m', {})", {"AlterUniqueTogether model=m entries"}},
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

Result<ParsedMigration> analyze(const std::string& prelude, const std::string& operations) {
  const ParsedSource parsed =
      testing::parse_source(prelude + "class Migration:\n    operations = [" + operations + "]\n");
  return analyze_migration("app/migrations/0002_x.py", parsed);
}

const std::string kBudgetError =
    "Failed to parse Python file: app/migrations/0002_x.py: reuse of module variables exceeds the budget of "
    "4194304 bytes";

// Operation lists bound to variables can name themselves or each other; the
// decoding stays finite and small whatever a file does with them, and a file
// whose decoding a bound cuts short is refused rather than reported in part.
TEST(ReadSeparateDatabaseAndStateArgs, VariableReuseIsBoundedAndNeverTruncates) {
  expect_decoded({
      {"migrations.SeparateDatabaseAndState(OPS)",
       {"SeparateDatabaseAndState database=yes state=no", "  SeparateDatabaseAndState database=yes state=no"},
       "OPS = [migrations.SeparateDatabaseAndState(OPS)]"},
  });

  // Each list names the one before twice: 2^levels operations expanded fully.
  const auto doubling = [](int levels) {
    std::string text = "V0 = [migrations.DeleteModel('m')]\n";
    for (int i = 1; i <= levels; ++i) {
      const std::string prev = "V" + std::to_string(i - 1);
      text += "V" + std::to_string(i) + " = [migrations.SeparateDatabaseAndState(" + prev +
              "), migrations.SeparateDatabaseAndState(" + prev + ")]\n";
    }
    return text;
  };
  size_t deepest = 0;
  const auto small = analyze(doubling(10), "migrations.SeparateDatabaseAndState(V10)");
  ASSERT_TRUE(small.ok()) << small.error().message();
  // 2^11 - 1 SeparateDatabaseAndState, 2^10 DeleteModel.
  EXPECT_EQ(count_operations(small->operations, 0, deepest), 3071u);
  const auto huge = analyze(doubling(60), "migrations.SeparateDatabaseAndState(V60)");
  ASSERT_FALSE(huge.ok());
  EXPECT_EQ(huge.error().message(), kBudgetError);

  // A chain of lists L0 (an AddIndex) .. L{n-1}, each nesting the one before:
  // decoded in full up to the nesting bound, refused past it.
  const auto chain = [](uint32_t lists) {
    std::string text = "L0 = [migrations.AddIndex('m', models.Index(fields=['a'], name='i'))]\n";
    for (uint32_t i = 1; i < lists; ++i) {
      text += "L" + std::to_string(i) + " = [migrations.SeparateDatabaseAndState(database_operations=L" +
              std::to_string(i - 1) + ")]\n";
    }
    return analyze(text, "migrations.SeparateDatabaseAndState(database_operations=L" + std::to_string(lists - 1) + ")");
  };
  const auto deepest_allowed = chain(DjangoContext::kMaxOperationNesting);
  ASSERT_TRUE(deepest_allowed.ok()) << deepest_allowed.error().message();
  deepest = 0;
  EXPECT_EQ(count_operations(deepest_allowed->operations, 0, deepest), DjangoContext::kMaxOperationNesting + 1);
  EXPECT_EQ(deepest, DjangoContext::kMaxOperationNesting);
  for (const uint32_t lists : {DjangoContext::kMaxOperationNesting + 1, 200u}) {
    const auto refused = chain(lists);
    ASSERT_FALSE(refused.ok()) << lists;
    EXPECT_EQ(refused.error().message(),
              "Failed to parse Python file: app/migrations/0002_x.py: operation nesting exceeds the maximum depth "
              "of 128");
  }

  // One large SQL text named again and again: the first read is free, the
  // next ones draw on the budget until it runs out.
  const std::string sql = "SQL = '" + std::string(1 << 20, 'x') + "'\n";
  const auto named = [&](int times) {
    std::string calls;
    for (int i = 0; i < times; ++i) calls += "migrations.RunSQL(SQL), ";
    return analyze(sql, calls);
  };
  const auto four = named(4);
  ASSERT_TRUE(four.ok()) << four.error().message();
  for (const Operation& op : four->operations) EXPECT_EQ(std::get<payload::Sql>(op.payload).sql.size(), 1u << 20);
  const auto five = named(5);
  ASSERT_FALSE(five.ok());
  EXPECT_EQ(five.error().message(), kBudgetError);
}

}  // namespace
}  // namespace tarn
