// Operation builders for the rule-family tests, on top of the shared
// migration and span helpers.
#pragma once

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "ast/model.h"
#include "config/config.h"
#include "rules/rule.h"
#include "rules/rule_test_support.h"

namespace tarn::testing {

// An operation without table, its span set later by at_line where it matters.
inline Operation plain_op(OperationKind kind, OperationPayload payload) { return make_op(kind, std::move(payload), 0); }

inline Operation index_op(OperationKind kind, std::string model) {
  return plain_op(kind, payload::Index{std::move(model)});
}

inline Operation model_op(OperationKind kind, std::string name, std::optional<std::string> old_name = std::nullopt) {
  return plain_op(kind, payload::Model{std::move(name), std::move(old_name)});
}

inline Operation field_op(OperationKind kind, std::string model, std::string name,
                          std::optional<FieldFlags> flags = std::nullopt) {
  return plain_op(kind, payload::Field{std::move(model), std::move(name), std::nullopt, std::nullopt, flags});
}

inline Operation rename_field_op(std::string model, std::string old_name, std::string new_name) {
  return plain_op(OperationKind::RenameField,
                  payload::Field{std::move(model), old_name, old_name, std::move(new_name), std::nullopt});
}

inline Operation constraint_op(std::string model, ConstraintKind constraint_kind, bool not_valid = false,
                               bool non_plain_unique = false) {
  return plain_op(OperationKind::AddConstraint,
                  payload::Constraint{std::move(model), not_valid, non_plain_unique, constraint_kind});
}

inline Operation unique_together_op(std::string model, bool has_entries) {
  return plain_op(OperationKind::AlterUniqueTogether, payload::UniqueTogether{std::move(model), has_entries});
}

inline Operation index_together_op(std::string model, bool has_entries) {
  return plain_op(OperationKind::AlterIndexTogether, payload::IndexTogether{std::move(model), has_entries});
}

inline Operation sql_op(OperationKind kind, std::string sql, std::optional<std::string> reverse_sql = std::nullopt) {
  return plain_op(kind, payload::Sql{std::move(sql), std::move(reverse_sql)});
}

inline Operation run_sql(std::string sql, std::optional<std::string> reverse_sql = std::nullopt) {
  return sql_op(OperationKind::RunSQL, std::move(sql), std::move(reverse_sql));
}

inline Operation run_python(std::string code, std::optional<std::string> reverse_code = std::nullopt) {
  return plain_op(OperationKind::RunPython, payload::Python{std::move(code), std::move(reverse_code)});
}

// has_database follows the list unless given.
inline Operation separate_op(std::vector<Operation> database_operations, bool has_state,
                             std::optional<bool> has_database = std::nullopt) {
  bool db = has_database.value_or(!database_operations.empty());
  return plain_op(OperationKind::SeparateDatabaseAndState,
                  payload::SeparateDatabaseAndState{std::move(database_operations), has_state, db});
}

inline Operation empty_op(OperationKind kind) { return plain_op(kind, payload::Empty{}); }

inline Operation at_line(Operation op, uint64_t line) {
  op.span = line_span(line);
  return op;
}

inline Operation on_table(Operation op, std::string name, std::optional<std::string> schema = std::nullopt) {
  op.table = table(std::move(name), std::move(schema));
  return op;
}

inline Operation with_context_flag(Operation op) {
  op.context_flag = true;
  return op;
}

inline std::vector<Diagnostic> check_changeset(const ChangesetRule& rule,
                                               const std::vector<const ParsedMigration*>& migrations,
                                               const std::vector<std::string>& changed_migrations,
                                               const std::vector<std::string>& changed_non_migrations,
                                               const Config& config = {}) {
  return rule.check(migrations, changed_migrations, changed_non_migrations, config);
}

inline std::vector<uint64_t> lines_of(const std::vector<Diagnostic>& diagnostics) {
  std::vector<uint64_t> lines;
  for (const auto& d : diagnostics) lines.push_back(d.span.start_line);
  return lines;
}

}  // namespace tarn::testing
