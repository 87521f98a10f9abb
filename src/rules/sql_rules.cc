#include "rules/sql_rules.h"

#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "ast/sql_scan.h"
#include "rules/operation_rules.h"

namespace tarn {

namespace {

// TODO(rules2): replace with the shared diagnostic helper.
template <class AnyRule>
Diagnostic make_diagnostic(const AnyRule& rule, Severity severity, std::string_view path, const Span& span,
                           std::string message, std::string help) {
  return Diagnostic{rule.id(), rule.name(), std::move(message), severity, std::string(path), span, std::move(help)};
}

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

class RunsqlCreateIndex final : public Rule {
 public:
  std::string_view id() const override { return "R003"; }
  std::string_view name() const override { return "runsql-create-index"; }
  std::string_view description() const override {
    return "RunSQL with CREATE INDEX (without CONCURRENTLY) takes an exclusive lock. Use CREATE INDEX CONCURRENTLY "
           "instead.";
  }
  bool is_error() const override { return true; }

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
          out.push_back(make_diagnostic(*this, Severity::Error, ctx.path, op->span,
                                        std::string(message_for(migration.framework)), std::string(kHelp)));
          break;
        }
      }
    }
    return out;
  }

 private:
  static std::string_view message_for(Framework framework) {
    switch (framework) {
      case Framework::Alembic: return "Alembic op.execute contains CREATE INDEX without CONCURRENTLY";
      case Framework::Aerich: return "Aerich upgrade SQL contains CREATE INDEX without CONCURRENTLY";
      case Framework::Django: break;
    }
    return "RunSQL contains CREATE INDEX without CONCURRENTLY";
  }
  static constexpr std::string_view kHelp =
      "Use CREATE INDEX CONCURRENTLY to avoid table locks. Each CREATE INDEX statement is checked independently "
      "\u2014 splitting a non-concurrent CREATE INDEX into the same SQL operation as a concurrent one does not "
      "exempt it.";
};

class MissingAtomicFalse final : public Rule {
 public:
  std::string_view id() const override { return "R004"; }
  std::string_view name() const override { return "missing-atomic-false"; }
  std::string_view description() const override {
    return "Concurrent index operations cannot run inside a transaction. Add `atomic = False` to the Migration "
           "class.";
  }
  bool is_error() const override { return true; }

  std::vector<Diagnostic> check(const ParsedMigration& migration, const RuleContext& ctx) const override {
    switch (migration.framework) {
      case Framework::Alembic: return check_alembic(migration, ctx);
      case Framework::Aerich: return check_aerich(migration, ctx);
      case Framework::Django: break;
    }
    return check_django(migration, ctx);
  }

 private:
  // Django wraps the whole migration in one transaction unless told not to,
  // so one finding at the Migration class says it all.
  std::vector<Diagnostic> check_django(const ParsedMigration& migration, const RuleContext& ctx) const {
    std::vector<Diagnostic> out;
    if (migration.non_atomic) return out;
    for (const Operation* op : tested_operations(migration.operations)) {
      if (!is_concurrent_operation(*op)) continue;
      static constexpr Span kFileStart{0, 0, 1, 0, 1, 0};
      out.push_back(make_diagnostic(*this, Severity::Error, ctx.path,
                                    migration.migration_class_span.value_or(kFileStart), std::string(kDjangoMessage),
                                    std::string(kDjangoHelp)));
      break;
    }
    return out;
  }

  // Each call decides for itself through its autocommit block.
  std::vector<Diagnostic> check_alembic(const ParsedMigration& migration, const RuleContext& ctx) const {
    std::vector<Diagnostic> out;
    for (const Operation* op : tested_operations(migration.operations)) {
      if (op->context_flag || !is_concurrent_operation(*op)) continue;
      out.push_back(make_diagnostic(*this, Severity::Error, ctx.path, op->span, std::string(kAlembicMessage),
                                    std::string(kAlembicHelp)));
    }
    return out;
  }

  // Outside a transaction only with RUN_IN_TRANSACTION = False, and even then
  // a text of several statements runs as one implicit transaction.
  std::vector<Diagnostic> check_aerich(const ParsedMigration& migration, const RuleContext& ctx) const {
    std::vector<Diagnostic> out;
    for (const Operation* op : tested_operations(migration.operations)) {
      if (!is_concurrent_operation(*op) || (migration.non_atomic && !op->context_flag)) continue;
      out.push_back(make_diagnostic(*this, Severity::Error, ctx.path, op->span, std::string(kAerichMessage),
                                    std::string(kAerichHelp)));
    }
    return out;
  }

  static constexpr std::string_view kDjangoMessage =
      "Migration uses concurrent operations but is not marked as non-atomic";
  static constexpr std::string_view kDjangoHelp =
      "Add `atomic = False` to the Migration class to allow concurrent operations";
  static constexpr std::string_view kAlembicMessage = "Alembic concurrent operation is outside an autocommit block";
  static constexpr std::string_view kAlembicHelp =
      "Wrap the concurrent operation in `with op.get_context().autocommit_block():`.";
  static constexpr std::string_view kAerichMessage = "Aerich concurrent operation may run inside a transaction";
  static constexpr std::string_view kAerichHelp =
      "Use `RUN_IN_TRANSACTION = False` in a generated migration; concurrent SQL must also be the script's only "
      "statement.";
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
