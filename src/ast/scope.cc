#include "ast/scope.h"

#include "parser/node.h"

namespace tarn {

std::optional<TSNode> statement_assignment(TSNode statement) {
  if (!node_is(statement, "expression_statement")) return std::nullopt;
  const auto assignment = first_named_child(statement);
  if (!assignment || !node_is(*assignment, "assignment")) return std::nullopt;
  return assignment;
}

std::optional<TSNode> find_migration_class(const ParsedSource& parsed) {
  std::optional<TSNode> found;
  for_each_child(parsed.root(), [&](TSNode child) {
    if (!node_is(child, "class_definition")) return true;
    const auto name = field(child, "name");
    if (name && node_text(parsed.source, *name) == "Migration") found = child;
    return !found;
  });
  return found;
}

ModuleScope collect_module_variables(const ParsedSource& parsed, std::optional<TSNode> migration) {
  ModuleScope scope;
  if (!migration) return scope;
  const uint32_t class_start = ts_node_start_byte(*migration);
  for_each_child(parsed.root(), [&](TSNode child) {
    if (ts_node_start_byte(child) >= class_start) return false;
    const auto assignment = statement_assignment(child);
    if (!assignment) return true;
    const auto left = field(*assignment, "left"), right = field(*assignment, "right");
    if (left && right && node_is(*left, "identifier")) {
      scope.variables.insert_or_assign(std::string(node_text(parsed.source, *left)), *right);
    }
    return true;
  });
  return scope;
}

}  // namespace tarn
