#include "rules/sql_rules.h"

#include <gtest/gtest.h>

#include "rules/test_support.h"

namespace tarn {
namespace {

using namespace tarn::testing;

Operation run_sql(std::string sql, uint64_t line = 0, std::optional<std::string> reverse = std::nullopt) {
  return sql_op(K::RunSQL, std::move(sql), line, std::move(reverse));
}

TEST(IsConcurrentOperation, KindsAndSqlText) {
  struct Case {
    Operation op;
    bool concurrent;
  };
  const Case cases[] = {
      {index_op(K::AddIndexConcurrently, "book"), true},
      {run_sql("CREATE INDEX CONCURRENTLY i ON t (c)"), true},
      {run_sql("REINDEX INDEX CONCURRENTLY i"), true},
      {sql_op(K::RawSql, "SELECT 1; CREATE INDEX CONCURRENTLY i ON t (c)"), true},
      // The word must sit in the same statement as the index work.
      {run_sql("SELECT concurrently; CREATE INDEX i ON t (c)"), false},
      {run_sql("-- CREATE INDEX CONCURRENTLY i ON t (c)\nSELECT 1"), false},
      {run_sql("SELECT 1", 0, "CREATE INDEX CONCURRENTLY i ON t (c)"), false},  // reverse only
      {make_op(K::RunSQL, payload::Empty{}), false},  // payload does not fit its kind
      {make_op(K::RunPython, payload::Python{"CREATE INDEX CONCURRENTLY", std::nullopt}), false},
  };
  for (const Case& c : cases) {
    const auto* sql = std::get_if<payload::Sql>(&c.op.payload);
    EXPECT_EQ(is_concurrent_operation(c.op), c.concurrent) << (sql ? sql->sql : "(no sql)");
  }
}

TEST(R003, EachStatementJudgedOnceFindingPerOperation) {
  struct Case {
    const char* sql;
    bool reported;
  };
  const Case cases[] = {
      {"CREATE INDEX CONCURRENTLY a ON t (x); CREATE INDEX b ON t (y)", true},
      {"CREATE INDEX i ON t (concurrently)", false},  // the word anywhere counts
      {"/* a */ CREATE UNIQUE INDEX i ON t (x)", true},
      {"COMMENT ON TABLE t IS 'x; CREATE INDEX i ON t (x)'", false},
      {"CREATE INDEX a ON t (x); CREATE INDEX b ON t (y)", true},  // one finding
  };
  std::vector<Operation> ops;
  Lines expected;
  for (const Case& c : cases) {
    ops.push_back(run_sql(c.sql, ops.size() + 1));
    if (c.reported) expected.push_back(ops.size());
  }
  ops.push_back(run_sql("SELECT 1", 11, "CREATE INDEX a ON t (x)"));  // the reverse is never read
  ops.push_back(on_table(index_op(K::AddIndex, "t", 12), "t"));       // not raw SQL
  ops.push_back(separate_op({run_sql("CREATE INDEX i ON t (x)", 14)}, true, 13));
  expected.push_back(14);
  EXPECT_EQ(lines_found(*make_runsql_create_index(), Framework::Django, ops), expected);
}

// Without a Migration class to point at, the one finding points at the file.
TEST(R004, DjangoReportsOnceAtFileStartWithoutAMigrationClass) {
  const Operation concurrent = run_sql("CREATE INDEX CONCURRENTLY i ON t (c)", 9, "");
  const auto found =
      check_rule(*make_missing_atomic_false(), make_migration(Framework::Django, {concurrent, concurrent}));
  ASSERT_EQ(found.size(), 1u);
  EXPECT_EQ(found[0].span, (Span{0, 0, 1, 0, 1, 0}));
}

}  // namespace
}  // namespace tarn
