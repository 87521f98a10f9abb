#include "rules/sql_rules.h"

#include <gtest/gtest.h>

#include "rules/test_support.h"

namespace tarn {
namespace {

using namespace tarn::testing;
using K = OperationKind;

TEST(IsConcurrentOperation, KindsAndSqlText) {
  struct Case {
    Operation op;
    bool concurrent;
  };
  const Case cases[] = {
      {index_op(K::AddIndexConcurrently, "book"), true},
      {index_op(K::RemoveIndexConcurrently, "book"), true},
      {index_op(K::AddIndex, "book"), false},
      {run_sql("CREATE INDEX CONCURRENTLY i ON t (c)"), true},
      {run_sql("create unique index concurrently i on t (c)"), true},
      {run_sql("DROP INDEX CONCURRENTLY i"), true},
      {run_sql("REINDEX INDEX CONCURRENTLY i"), true},
      {run_sql("REINDEX INDEX i"), false},
      {sql_op(K::RawSql, "SELECT 1; CREATE INDEX CONCURRENTLY i ON t (c)"), true},
      // The word must sit in the same statement as the index work.
      {run_sql("SELECT concurrently; CREATE INDEX i ON t (c)"), false},
      {run_sql("-- CREATE INDEX CONCURRENTLY i ON t (c)\nSELECT 1"), false},
      {run_sql("CREATE INDEX i ON t (c) /* CONCURRENTLY */"), false},
      {run_sql("CREATE INDEX i ON t (c) WHERE x = 'CONCURRENTLY'"), false},
      {run_sql("SELECT 1", "CREATE INDEX CONCURRENTLY i ON t (c)"), false},  // reverse only
      {run_sql(""), false},
      {plain_op(K::RunSQL, payload::Empty{}), false},  // payload does not fit its kind
      {plain_op(K::RunPython, payload::Python{"CREATE INDEX CONCURRENTLY", std::nullopt}), false},
  };
  for (const Case& c : cases) {
    const auto* sql = std::get_if<payload::Sql>(&c.op.payload);
    EXPECT_EQ(is_concurrent_operation(c.op), c.concurrent) << (sql ? sql->sql : "(no sql)");
  }
}

TEST(R003, StatementsAreJudgedOneByOne) {
  struct Case {
    std::string sql;
    bool reported;
  };
  const Case cases[] = {
      {"CREATE INDEX CONCURRENTLY a ON t (x); CREATE INDEX b ON t (y)", true},
      {"CREATE INDEX CONCURRENTLY a ON t (x); CREATE INDEX CONCURRENTLY b ON t (y)", false},
      {"CREATE INDEX i ON t (concurrently)", false},  // the word anywhere counts
      {"-- CREATE INDEX i ON t (x)", false},
      {"/* a */ CREATE UNIQUE INDEX i ON t (x)", true},
      {"CREATEINDEXES", true},
      {"COMMENT ON TABLE t IS 'x; CREATE INDEX i ON t (x)'", false},
      {"DROP INDEX i; REINDEX INDEX i", false},
      {"SELECT 1", false},
  };
  auto rule = make_runsql_create_index();
  for (const Case& c : cases) {
    std::vector<Operation> ops;
    ops.push_back(at_line(run_sql(c.sql), 5));
    auto d = check_rule(*rule, make_migration(Framework::Django, std::move(ops)));
    EXPECT_EQ(d.size(), c.reported ? 1u : 0u) << c.sql;
  }
}

TEST(R003, TextsBySqlKindAndFramework) {
  struct Case {
    Framework framework;
    Operation op;
    const char* message;
  };
  const Case cases[] = {
      {Framework::Django, run_sql("CREATE INDEX a ON t (x); CREATE INDEX b ON t (y)"),
       "RunSQL contains CREATE INDEX without CONCURRENTLY"},
      {Framework::Alembic, sql_op(K::RawSql, "CREATE INDEX a ON t (x)"),
       "Alembic op.execute contains CREATE INDEX without CONCURRENTLY"},
      {Framework::Aerich, sql_op(K::RawSql, "create index a on t (x)"),
       "Aerich upgrade SQL contains CREATE INDEX without CONCURRENTLY"},
  };
  auto rule = make_runsql_create_index();
  for (const Case& c : cases) {
    std::vector<Operation> ops;
    ops.push_back(at_line(c.op, 7));
    ops.push_back(at_line(run_sql("SELECT 1", "CREATE INDEX a ON t (x)"), 8));  // reverse never read
    ops.push_back(at_line(on_table(index_op(K::AddIndex, "t"), "t"), 9));       // not raw SQL
    auto d = check_rule(*rule, make_migration(c.framework, std::move(ops)));
    ASSERT_EQ(d.size(), 1u) << c.message;  // one per operation, however many statements
    EXPECT_EQ(d[0].message, c.message);
    EXPECT_EQ(d[0].span, line_span(7));
    EXPECT_EQ(d[0].severity, Severity::Error);
    EXPECT_EQ(d[0].help,
              "Use CREATE INDEX CONCURRENTLY to avoid table locks. Each CREATE INDEX statement is checked "
              "independently \u2014 splitting a non-concurrent CREATE INDEX into the same SQL operation as a "
              "concurrent one does not exempt it.");
  }
}

TEST(R003, NestedRunSqlIsTested) {
  std::vector<Operation> inner;
  inner.push_back(at_line(run_sql("CREATE INDEX i ON t (x)"), 4));
  std::vector<Operation> ops;
  ops.push_back(at_line(separate_op(std::move(inner), true), 3));
  auto rule = make_runsql_create_index();
  EXPECT_EQ(lines_of(check_rule(*rule, make_migration(Framework::Django, std::move(ops)))), (std::vector<uint64_t>{4}));
}

TEST(R004, DjangoReportsOnceAtTheMigrationClass) {
  const Span class_span{120, 900, 6, 0, 30, 5};
  struct Case {
    const char* name;
    bool non_atomic;
    bool has_class;
    bool nested;
    int concurrent_ops;
    std::optional<Span> expected;
  };
  const Case cases[] = {
      {"two concurrent operations, one finding", false, true, false, 2, class_span},
      {"atomic = False", true, true, false, 2, std::nullopt},
      {"no concurrent operation", false, true, false, 0, std::nullopt},
      {"no Migration class: file start", false, false, false, 1, Span{0, 0, 1, 0, 1, 0}},
      {"nested RunSQL counts", false, true, true, 1, class_span},
  };
  auto rule = make_missing_atomic_false();
  for (const Case& c : cases) {
    std::vector<Operation> ops;
    ops.push_back(at_line(index_op(K::AddIndex, "book"), 8));
    for (int i = 0; i < c.concurrent_ops; ++i) {
      Operation op = at_line(run_sql("CREATE INDEX CONCURRENTLY i ON t (c)", ""), 9 + i);
      if (c.nested) {
        std::vector<Operation> inner;
        inner.push_back(std::move(op));
        op = separate_op(std::move(inner), true);
      }
      ops.push_back(std::move(op));
    }
    ParsedMigration m = make_migration(Framework::Django, std::move(ops));
    m.non_atomic = c.non_atomic;
    if (c.has_class) m.migration_class_span = class_span;
    auto d = check_rule(*rule, m);
    if (!c.expected) {
      EXPECT_TRUE(d.empty()) << c.name;
      continue;
    }
    ASSERT_EQ(d.size(), 1u) << c.name;
    EXPECT_EQ(d[0].span, *c.expected) << c.name;
    EXPECT_EQ(d[0].message, "Migration uses concurrent operations but is not marked as non-atomic");
    EXPECT_EQ(d[0].help, "Add `atomic = False` to the Migration class to allow concurrent operations");
  }
}

TEST(R004, AlembicReportsEachCallOutsideAnAutocommitBlock) {
  std::vector<Operation> ops;
  ops.push_back(at_line(on_table(index_op(K::AddIndexConcurrently, "t"), "t"), 3));
  ops.push_back(at_line(with_context_flag(on_table(index_op(K::AddIndexConcurrently, "t"), "t")), 5));
  ops.push_back(at_line(sql_op(K::RawSql, "DROP INDEX CONCURRENTLY i"), 7));
  ParsedMigration m = make_migration(Framework::Alembic, std::move(ops));
  m.non_atomic = true;  // never read for Alembic
  auto rule = make_missing_atomic_false();
  auto d = check_rule(*rule, m);
  ASSERT_EQ(lines_of(d), (std::vector<uint64_t>{3, 7}));
  EXPECT_EQ(d[0].message, "Alembic concurrent operation is outside an autocommit block");
  EXPECT_EQ(d[0].help, "Wrap the concurrent operation in `with op.get_context().autocommit_block():`.");
}

TEST(R004, AerichNeedsNonAtomicAndASingleStatement) {
  struct Case {
    bool non_atomic;
    bool several_statements;
    bool reported;
  };
  const Case cases[] = {
      {false, false, true},
      {true, false, false},
      {true, true, true},
      {false, true, true},
  };
  auto rule = make_missing_atomic_false();
  for (const Case& c : cases) {
    Operation op = at_line(on_table(index_op(K::AddIndexConcurrently, "t"), "t"), 4);
    if (c.several_statements) op = with_context_flag(std::move(op));
    std::vector<Operation> ops;
    ops.push_back(std::move(op));
    ops.push_back(at_line(on_table(index_op(K::AddIndex, "t"), "t"), 4));
    ParsedMigration m = make_migration(Framework::Aerich, std::move(ops));
    m.non_atomic = c.non_atomic;
    auto d = check_rule(*rule, m);
    ASSERT_EQ(d.size(), c.reported ? 1u : 0u) << c.non_atomic << c.several_statements;
    if (c.reported) {
      EXPECT_EQ(d[0].message, "Aerich concurrent operation may run inside a transaction");
      EXPECT_EQ(d[0].help,
                "Use `RUN_IN_TRANSACTION = False` in a generated migration; concurrent SQL must also be the script's "
                "only statement.");
      EXPECT_EQ(d[0].span, line_span(4));
    }
  }
}

TEST(SqlRules, IdentityTexts) {
  auto r003 = make_runsql_create_index();
  auto r004 = make_missing_atomic_false();
  EXPECT_EQ(r003->id(), "R003");
  EXPECT_EQ(r003->name(), "runsql-create-index");
  EXPECT_EQ(r004->id(), "R004");
  EXPECT_EQ(r004->name(), "missing-atomic-false");
  EXPECT_TRUE(r003->is_error());
  EXPECT_TRUE(r004->is_error());
  EXPECT_EQ(r004->description(),
            "Concurrent index operations cannot run inside a transaction. Add `atomic = False` to the Migration "
            "class.");
}

}  // namespace
}  // namespace tarn
