#include "ast/scope.h"

#include "parser/node.h"

namespace tarn {

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

ModuleScope collect_module_variables(const ParsedSource& parsed) {
  return collect_module_variables(parsed, find_migration_class(parsed));
}

ModuleScope collect_module_variables(const ParsedSource& parsed, std::optional<TSNode> migration) {
  ModuleScope scope;
  if (!migration) return scope;
  const uint32_t class_start = ts_node_start_byte(*migration);
  for_each_child(parsed.root(), [&](TSNode child) {
    if (ts_node_start_byte(child) >= class_start) return false;
    if (!node_is(child, "expression_statement")) return true;
    const auto assignment = first_named_child(child);
    if (!assignment || !node_is(*assignment, "assignment")) return true;
    const auto left = field(*assignment, "left"), right = field(*assignment, "right");
    if (left && right && node_is(*left, "identifier")) {
      scope.variables.insert_or_assign(std::string(node_text(parsed.source, *left)), *right);
    }
    return true;
  });
  return scope;
}

}  // namespace tarn
