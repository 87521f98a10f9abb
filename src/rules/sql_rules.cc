#include "rules/sql_rules.h"

#include <algorithm>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "ast/sql_scan.h"
#include "rules/rule_support.h"
#include "util/split.h"

namespace tarn {

namespace {

const payload::Sql* raw_sql_of(const Operation& op) {
  if (op.kind != OperationKind::RunSQL && op.kind != OperationKind::RawSql) return nullptr;
  return std::get_if<payload::Sql>(&op.payload);
}

// The index statements in the forward SQL of a raw SQL operation. Comments
// and literals are removed first, so a semicolon inside either never splits;
// each piece is split into words once.
struct IndexStatements {
  bool plain_create = false;  // CREATE INDEX without CONCURRENTLY
  bool concurrent = false;    // CREATE INDEX, DROP INDEX or REINDEX with CONCURRENTLY
};

IndexStatements index_statements(const payload::Sql& sql) {
  IndexStatements out;
  const std::string stripped = strip_sql_comments(sql.sql);
  for (std::string_view piece : split_at(stripped, ';')) {
    const SqlWords words = sql_words_upper(piece);
    const bool concurrently = std::find(words.begin(), words.end(), "CONCURRENTLY") != words.end();
    const bool creates = is_create_index_sql(words);
    out.plain_create = out.plain_create || (creates && !concurrently);
    out.concurrent = out.concurrent || (concurrently && (creates || is_drop_index_sql(words) ||
                                                         (!words.empty() && words[0] == "REINDEX")));
  }
  return out;
}

constexpr RuleDescription kRunsqlCreateIndex{
    "R003", "runsql-create-index",
    "RunSQL with CREATE INDEX (without CONCURRENTLY) takes an exclusive lock. Use CREATE INDEX CONCURRENTLY instead.",
    true};

constexpr std::string_view kCreateIndexHelp =
    "Use CREATE INDEX CONCURRENTLY to avoid table locks. Each CREATE INDEX statement is checked independently \u2014 "
    "splitting a non-concurrent CREATE INDEX into the same SQL operation as a concurrent one does not exempt it.";
constexpr FrameworkTexts kCreateIndexTexts{
    .django = {"RunSQL contains CREATE INDEX without CONCURRENTLY", kCreateIndexHelp},
    .alembic = {"Alembic op.execute contains CREATE INDEX without CONCURRENTLY", kCreateIndexHelp},
    .aerich = {"Aerich upgrade SQL contains CREATE INDEX without CONCURRENTLY", kCreateIndexHelp},
};

class RunsqlCreateIndex final : public DescribedRule<Rule, kRunsqlCreateIndex> {
 public:
  std::vector<Diagnostic> check(const ParsedMigration& migration, const RuleContext& ctx) const override {
    const auto judge = [&](const Operation& op) -> std::optional<Finding> {
      // Index operations of Alembic and Aerich are the index rules' business;
      // only raw SQL is read here, and only its forward text.
      const payload::Sql* sql = raw_sql_of(op);
      if (sql == nullptr || !index_statements(*sql).plain_create) return std::nullopt;
      return Finding{kCreateIndexTexts[migration.framework]};
    };
    return report_each(*this, Severity::Error, ctx, tested_operations(migration.operations), judge);
  }
};

constexpr RuleDescription kMissingAtomicFalse{
    "R004", "missing-atomic-false",
    "Concurrent index operations cannot run inside a transaction. Add `atomic = False` to the Migration class.", true};

constexpr FrameworkTexts kAtomicTexts{
    .django = {"Migration uses concurrent operations but is not marked as non-atomic",
               "Add `atomic = False` to the Migration class to allow concurrent operations"},
    .alembic = {"Alembic concurrent operation is outside an autocommit block",
                "Wrap the concurrent operation in `with op.get_context().autocommit_block():`."},
    .aerich = {"Aerich concurrent operation may run inside a transaction",
               "Use `RUN_IN_TRANSACTION = False` in a generated migration; concurrent SQL must also be the script's "
               "only statement."},
};

// Whether a concurrent operation would run inside a transaction.
bool in_transaction(const ParsedMigration& migration, const Operation& op) {
  switch (migration.framework) {
    // Each call decides for itself through its autocommit block.
    case Framework::Alembic: return !op.in_autocommit_block();
    // Outside a transaction only with RUN_IN_TRANSACTION = False, and even
    // then a text of several statements runs as one implicit transaction.
    case Framework::Aerich: return !migration.non_atomic || op.in_multi_statement_text();
    case Framework::Django: break;
  }
  return !migration.non_atomic;
}

class MissingAtomicFalse final : public DescribedRule<Rule, kMissingAtomicFalse> {
 public:
  std::vector<Diagnostic> check(const ParsedMigration& migration, const RuleContext& ctx) const override {
    const auto judge = [&](const Operation& op) -> std::optional<Finding> {
      if (!is_concurrent_operation(op) || !in_transaction(migration, op)) return std::nullopt;
      return Finding{kAtomicTexts[migration.framework]};
    };
    std::vector<Diagnostic> out =
        report_each(*this, Severity::Error, ctx, tested_operations(migration.operations), judge);
    if (migration.framework == Framework::Django && !out.empty()) {
      // Django wraps the whole migration in one transaction unless told not
      // to, so one finding at the Migration class says it all.
      out.resize(1);
      out[0].span = migration.migration_class_span.value_or(kFileStartSpan);
    }
    return out;
  }
};

}  // namespace

bool is_concurrent_operation(const Operation& operation) {
  if (operation.kind == OperationKind::AddIndexConcurrently ||
      operation.kind == OperationKind::RemoveIndexConcurrently) {
    return true;
  }
  const payload::Sql* sql = raw_sql_of(operation);
  return sql != nullptr && index_statements(*sql).concurrent;
}

std::unique_ptr<Rule> make_runsql_create_index() { return std::make_unique<RunsqlCreateIndex>(); }
std::unique_ptr<Rule> make_missing_atomic_false() { return std::make_unique<MissingAtomicFalse>(); }

}  // namespace tarn
