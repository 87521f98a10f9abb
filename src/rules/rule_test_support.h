// Hand-built migration records for rule tests.
#pragma once

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "ast/model.h"
#include "config/config.h"
#include "rules/rule.h"

namespace tarn::testing {

// A one-line span on `line`; the byte offsets are distinct per line.
inline Span line_span(uint64_t line, uint64_t column = 4) {
  Span span;
  span.start_byte = line * 100 + column;
  span.end_byte = line * 100 + column + 10;
  span.start_line = line;
  span.start_column = column;
  span.end_line = line;
  span.end_column = column + 10;
  return span;
}

inline Operation make_op(OperationKind kind, OperationPayload payload, uint64_t line,
                         std::optional<TableRef> table = std::nullopt) {
  Operation op;
  op.kind = kind;
  op.payload = std::move(payload);
  op.span = line_span(line);
  op.table = std::move(table);
  return op;
}

inline TableRef table(std::string name, std::optional<std::string> schema = std::nullopt) {
  return TableRef{std::move(name), std::move(schema)};
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
inline std::vector<Diagnostic> check_rule(const Rule& rule, const ParsedMigration& migration,
                                          const Config& config = Config{}) {
  return rule.check(migration, RuleContext{config, migration.path});
}

}  // namespace tarn::testing
