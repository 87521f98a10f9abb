#include "rules/sql_rules.h"

#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "ast/sql_scan.h"
#include "rules/operation_rules.h"
#include "rules/rule_support.h"

namespace tarn {

namespace {

// The forward SQL of a raw SQL operation, comments and literals removed
// (so a semicolon inside either never splits), cut at every semicolon.
// Pieces are left untrimmed: only their words matter.
std::vector<std::string_view> sql_pieces(const std::string& stripped) {
  std::vector<std::string_view> pieces;
  std::string_view rest = stripped;
  while (true) {
    auto at = rest.find(';');
    pieces.push_back(rest.substr(0, at));
    if (at == std::string_view::npos) break;
    rest.remove_prefix(at + 1);
  }
  return pieces;
}

const payload::Sql* raw_sql_of(const Operation& op) {
  if (op.kind != OperationKind::RunSQL && op.kind != OperationKind::RawSql) return nullptr;
  return std::get_if<payload::Sql>(&op.payload);
}

bool has_concurrently(std::string_view piece) { return sql_contains_keyword(piece, "CONCURRENTLY"); }

bool is_concurrent_index_statement(std::string_view piece) {
  if (!has_concurrently(piece)) return false;
  if (is_create_index_sql(piece) || is_drop_index_sql(piece)) return true;
  auto words = sql_words_upper(piece);
  return !words.empty() && words[0] == "REINDEX";
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
    std::vector<Diagnostic> out;
    for (const Operation* op : tested_operations(migration.operations)) {
      // Index operations of Alembic and Aerich are the index rules' business;
      // only raw SQL is read here, and only its forward text.
      const payload::Sql* sql = raw_sql_of(*op);
      if (sql == nullptr) continue;
      std::string stripped = strip_sql_comments(sql->sql);
      for (std::string_view piece : sql_pieces(stripped)) {
        if (is_create_index_sql(piece) && !has_concurrently(piece)) {
          out.push_back(
              make_diagnostic(*this, Severity::Error, ctx.path, op->span, kCreateIndexTexts[migration.framework]));
          break;
        }
      }
    }
    return out;
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
    std::vector<Diagnostic> out;
    const RuleText& text = kAtomicTexts[migration.framework];
    for (const Operation* op : tested_operations(migration.operations)) {
      if (!is_concurrent_operation(*op) || !in_transaction(migration, *op)) continue;
      if (migration.framework == Framework::Django) {
        // Django wraps the whole migration in one transaction unless told
        // not to, so one finding at the Migration class says it all.
        out.push_back(make_diagnostic(*this, Severity::Error, ctx.path,
                                      migration.migration_class_span.value_or(kFileStartSpan), text));
        break;
      }
      out.push_back(make_diagnostic(*this, Severity::Error, ctx.path, op->span, text));
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
  if (sql == nullptr) return false;
  std::string stripped = strip_sql_comments(sql->sql);
  for (std::string_view piece : sql_pieces(stripped)) {
    if (is_concurrent_index_statement(piece)) return true;
  }
  return false;
}

std::unique_ptr<Rule> make_runsql_create_index() { return std::make_unique<RunsqlCreateIndex>(); }
std::unique_ptr<Rule> make_missing_atomic_false() { return std::make_unique<MissingAtomicFalse>(); }

}  // namespace tarn
