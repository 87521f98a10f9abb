// Hand-built migration records for the rule tests. Every builder takes the
// operation's line last, so a test reads its findings back as line numbers.
#pragma once

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "ast/model.h"
#include "config/config.h"
#include "rules/rule.h"

namespace tarn::testing {

using K = OperationKind;

// A one-line span on `line`; the byte offsets are distinct per line.
inline Span line_span(uint64_t line) { return Span{line * 100 + 4, line * 100 + 14, line, 4, line, 14}; }

inline Operation make_op(K kind, OperationPayload payload, uint64_t line = 0) {
  Operation op;
  op.kind = kind;
  op.payload = std::move(payload);
  op.span = line_span(line);
  return op;
}

// Alembic and Aerich operations carry their table besides the payload.
inline Operation on_table(Operation op, std::string name, std::optional<std::string> schema = std::nullopt) {
  op.table = TableRef{std::move(name), std::move(schema)};
  return op;
}

inline Operation model_op(K kind, std::string name, uint64_t line = 0,
                          std::optional<std::string> old_name = std::nullopt) {
  return make_op(kind, payload::Model{std::move(name), std::move(old_name)}, line);
}

inline Operation index_op(K kind, std::string model, uint64_t line = 0) {
  return make_op(kind, payload::Index{std::move(model)}, line);
}

// A field named "col"; no flags means no column definition was read.
inline Operation field_op(K kind, std::string model, std::optional<FieldFlags> flags, uint64_t line = 0) {
  return make_op(kind, payload::Field{std::move(model), "col", std::nullopt, std::nullopt, flags}, line);
}

inline Operation constraint_op(std::string model, ConstraintKind constraint_kind, uint64_t line = 0,
                               bool not_valid = false) {
  return make_op(K::AddConstraint, payload::Constraint{std::move(model), not_valid, false, constraint_kind}, line);
}

inline Operation sql_op(K kind, std::string sql, uint64_t line = 0,
                        std::optional<std::string> reverse_sql = std::nullopt) {
  return make_op(kind, payload::Sql{std::move(sql), std::move(reverse_sql)}, line);
}

// The database side counts as present when it lists operations.
inline Operation separate_op(std::vector<Operation> database_operations, bool has_state, uint64_t line = 0) {
  const bool has_database = !database_operations.empty();
  return make_op(K::SeparateDatabaseAndState,
                 payload::SeparateDatabaseAndState{std::move(database_operations), has_state, has_database}, line);
}

inline ParsedMigration make_migration(Framework framework, std::vector<Operation> operations,
                                      std::string path = "app/migrations/0002_change.py") {
  ParsedMigration migration;
  migration.framework = framework;
  migration.operations = std::move(operations);
  migration.path = std::move(path);
  return migration;
}

// Runs one per-file rule directly, without selection or suppression.
inline std::vector<Diagnostic> check_rule(const Rule& rule, const ParsedMigration& migration) {
  static const Config config;
  return rule.check(migration, RuleContext{config, migration.path});
}

inline std::vector<uint64_t> lines_of(const std::vector<Diagnostic>& diagnostics) {
  std::vector<uint64_t> lines;
  for (const auto& d : diagnostics) lines.push_back(d.span.start_line);
  return lines;
}

using Lines = std::vector<uint64_t>;

// The lines a rule reports over a migration of `operations`.
inline Lines lines_found(const Rule& rule, Framework framework, std::vector<Operation> operations) {
  return lines_of(check_rule(rule, make_migration(framework, std::move(operations))));
}

}  // namespace tarn::testing
