#include "ast/django_args.h"

#include <gtest/gtest.h>

#include "ast/test_support.h"

namespace tarn {
namespace {

using testing::expect_decoded;

TEST(ReadRunSqlArgs, SqlForms) {
  expect_decoded({
      {"", "migrations.RunSQL('SELECT 1;;')", "RunSQL sql=\"SELECT 1;;\" reverse=-\n"},
      {"", "migrations.RunSQL(['CREATE INDEX a;', 'CREATE INDEX b;'])",
       "RunSQL sql=\"CREATE INDEX a;\\nCREATE INDEX b\" reverse=-\n"},
      {"", "migrations.RunSQL(sql=('A;;;', # first\n 'B; ', 'C' 'D;'))", "RunSQL sql=\"A;\\nB; ;\\nCD\" reverse=-\n"},
      {"", "migrations.RunSQL([('INSERT x VALUES (%s);', [1]), ['B', 2]])",
       "RunSQL sql=\"INSERT x VALUES (%s);\\nB\" reverse=-\n"},
      {"", "migrations.RunSQL([(# sql\n 'A;', [1])])", "RunSQL sql=\"A\" reverse=-\n"},
      {"QUERY = 'A'", "migrations.RunSQL([(QUERY, [1])])", "RunSQL sql=\"\" reverse=-\n"},
      {"", "migrations.RunSQL([()])", "RunSQL sql=\"\" reverse=-\n"},
      {"", "migrations.RunSQL(['A', 1])", "RunSQL sql=\"\" reverse=-\n"},
      {"", "migrations.RunSQL([])", "RunSQL sql=\"\" reverse=-\n"},
      {"", "migrations.RunSQL([  # nothing yet\n])", "RunSQL sql=\"\" reverse=-\n"},
      {"", "migrations.RunSQL([f'{x}'])", "RunSQL sql=\"\" reverse=-\n"},
      {"", "migrations.RunSQL(f'DROP {x}', 'B')", "RunSQL sql=\"\" reverse=\"B\"\n"},
      {"", "migrations.RunSQL()", "RunSQL sql=\"\" reverse=-\n"},
      {"", "migrations.RunSQL('A', reverse_sql=migrations.RunSQL.noop)", "RunSQL sql=\"A\" reverse=\"\"\n"},
      {"", "migrations.RunSQL('A', RunSQL.noop)", "RunSQL sql=\"A\" reverse=\"\"\n"},
      {"", "migrations.RunSQL(migrations.RunSQL.noop, reverse_sql=None)", "RunSQL sql=\"\" reverse=-\n"},
      {"", "migrations.RunSQL('A', reverse_sql=other.noop)", "RunSQL sql=\"A\" reverse=-\n"},
      {"", "migrations.RunSQL(reverse_sql='B', sql='A')", "RunSQL sql=\"A\" reverse=\"B\"\n"},
      {"SQL = 'CREATE INDEX x;'\nBOTH = ['A;', 'B']", "migrations.RunSQL(SQL, BOTH)",
       "RunSQL sql=\"CREATE INDEX x;\" reverse=\"A;\\nB\"\n"},
      {"SQL = build()", "migrations.RunSQL(SQL, UNBOUND)", "RunSQL sql=\"\" reverse=-\n"},
      {"SQL = 1", "migrations.RunSQL(sql=SQL)", "RunSQL sql=\"\" reverse=-\n"},
  });
}

TEST(ReadRunPythonArgs, CodeAsWritten) {
  expect_decoded({
      {"", "migrations.RunPython(forwards, backwards)", "RunPython code=\"forwards\" reverse=\"backwards\"\n"},
      {"", "migrations.RunPython(forwards, reverse_code=None)", "RunPython code=\"forwards\" reverse=-\n"},
      {"", "migrations.RunPython(forwards, None)", "RunPython code=\"forwards\" reverse=-\n"},
      {"", "migrations.RunPython('forwards')", "RunPython code=\"'forwards'\" reverse=-\n"},
      {"", "migrations.RunPython(code='forwards', reverse_code=migrations.RunPython.noop)",
       "RunPython code=\"forwards\" reverse=\"migrations.RunPython.noop\"\n"},
      {"", "migrations.RunPython(reverse_code=back)", "RunPython code=\"\" reverse=\"back\"\n"},
      {"", "migrations.RunPython(lambda apps, schema_editor: None)",
       "RunPython code=\"lambda apps, schema_editor: None\" reverse=-\n"},
  });
}

TEST(ReadSeparateDatabaseAndStateArgs, Sides) {
  const std::string alter = "migrations.AlterField('m', 'f', models.TextField())";
  const std::string alter_line = "AlterField model=\"m\" name=\"f\" old=- new=- flags={db_constraint}\n";
  const std::vector<testing::DecodeCase> cases = {
      {"", "migrations.SeparateDatabaseAndState(state_operations=[migrations.DeleteModel('m')])",
       "SeparateDatabaseAndState database=no state=yes\n"},
      {"", "migrations.SeparateDatabaseAndState(database_operations=[])",
       "SeparateDatabaseAndState database=no state=no\n"},
      {"", "migrations.SeparateDatabaseAndState(database_operations=[  # later\n], state_operations=None)",
       "SeparateDatabaseAndState database=no state=no\n"},
      {"", "migrations.SeparateDatabaseAndState([op], [])", "SeparateDatabaseAndState database=yes state=no\n"},
      {"", "migrations.SeparateDatabaseAndState((migrations.DeleteModel('m'),), STATE)",
       "SeparateDatabaseAndState database=yes state=yes\n"},
      {"", "migrations.SeparateDatabaseAndState(database_operations=make_ops(), state_operations=cls.ops)",
       "SeparateDatabaseAndState database=yes state=yes\n"},
      {"OPS = [migrations.DeleteModel('a'), migrations.RemoveField('b', 'c')]\nEMPTY = []\nT = (x,)",
       "migrations.SeparateDatabaseAndState(database_operations=OPS, state_operations=EMPTY)",
       "SeparateDatabaseAndState database=yes state=no\n"
       "  DeleteModel name=\"a\" old=-\n"
       "  RemoveField model=\"b\" name=\"c\" old=- new=- flags=-\n"},
      {"T = (x,)", "migrations.SeparateDatabaseAndState(T, T)", "SeparateDatabaseAndState database=yes state=yes\n"},
      // Nested to any depth, calls only.
      {"", "migrations.SeparateDatabaseAndState([1, migrations.SeparateDatabaseAndState(database_operations=[" + alter + "]), [migrations.DeleteModel('x')]])",
       "SeparateDatabaseAndState database=yes state=no\n"
       "  SeparateDatabaseAndState database=yes state=no\n"
       "    " + alter_line},
  };
  expect_decoded(cases);
}

TEST(ReadTogetherArgs, Entries) {
  expect_decoded({
      {"", "migrations.AlterUniqueTogether(name='m', unique_together=set())",
       "AlterUniqueTogether model=\"m\" empty\n"},
      {"", "migrations.AlterUniqueTogether(name='m', unique_together={('a', 'b')})",
       "AlterUniqueTogether model=\"m\" entries\n"},
      {"", "migrations.AlterUniqueTogether('m', [('a', 'b')])", "AlterUniqueTogether model=\"m\" entries\n"},
      {"", "migrations.AlterUniqueTogether('m')", "AlterUniqueTogether model=\"m\" empty\n"},
      {"", "migrations.AlterUniqueTogether('m', None)", "AlterUniqueTogether model=\"m\" empty\n"},
      {"", "migrations.AlterUniqueTogether(unique_together= () )", "AlterUniqueTogether model=\"\" empty\n"},
      {"", "migrations.AlterUniqueTogether('m', index_together=[('a',)])", "AlterUniqueTogether model=\"m\" empty\n"},
      {"", "migrations.AlterIndexTogether(name='m', index_together=[('a', 'b')])",
       "AlterIndexTogether model=\"m\" entries\n"},
      {"", "migrations.AlterIndexTogether('m', TOGETHER)", "AlterIndexTogether model=\"m\" entries\n"},
      {"", "migrations.AlterIndexTogether('m', index_together=[])", "AlterIndexTogether model=\"m\" empty\n"},
  });
}

TEST(BasicReaders, KeywordsAndPositions) {
  const auto parsed = testing::parse_source(
      "x = f(a, *rest, # note\n k=1, k=2, **kw, b=None, d=models.NOT_PROVIDED, e=x.NOT_PROVIDEDx)\n");
  const TSNode call = testing::assigned_value(parsed);
  const TSNode args = *field(call, "arguments");
  const std::string_view src = parsed.source;
  EXPECT_EQ(node_text(src, *positional_arg(args, 0)), "a");
  EXPECT_EQ(node_text(src, *positional_arg(args, 1)), "*rest");
  EXPECT_EQ(node_text(src, *positional_arg(args, 2)), "**kw");
  EXPECT_FALSE(positional_arg(args, 3));
  EXPECT_EQ(keyword_string_value(src, args, "k"), "1");
  EXPECT_EQ(node_text(src, *keyword_value_node(src, args, "k")), "1");
  EXPECT_FALSE(keyword_value_node(src, args, "z"));
  EXPECT_EQ(keyword_arguments(call).size(), 5u);
  EXPECT_TRUE(keyword_equals(src, call, "k", "2"));
  EXPECT_FALSE(keyword_equals(src, call, "k", "3"));
  EXPECT_TRUE(keyword_has_value(src, call, "k"));
  EXPECT_FALSE(keyword_has_value(src, call, "b"));
  EXPECT_FALSE(keyword_has_value(src, call, "d"));
  EXPECT_TRUE(keyword_has_value(src, call, "e"));
  EXPECT_EQ(callee_basename(src, call), "f");
  EXPECT_TRUE(keyword_arguments(args).empty());  // not a call
  EXPECT_EQ(trim_trailing_semicolons("a;; ;;;"), "a;; ");
  EXPECT_EQ(trim_trailing_semicolons(";;"), "");
}

}  // namespace
}  // namespace tarn

namespace tarn {
namespace {

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
      {"OPS = [migrations.SeparateDatabaseAndState(OPS)]", "migrations.SeparateDatabaseAndState(OPS)",
       "SeparateDatabaseAndState database=yes state=no\n"
       "  SeparateDatabaseAndState database=yes state=no\n"},
      // The same list twice side by side is decoded twice.
      {"OPS = [migrations.DeleteModel('a')]", "migrations.SeparateDatabaseAndState(OPS, OPS)",
       "SeparateDatabaseAndState database=yes state=yes\n  DeleteModel name=\"a\" old=-\n"},
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
