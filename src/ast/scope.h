// Module-level variables assigned before the Migration class, through which
// the decoders resolve names used as arguments.
#pragma once

#include <tree_sitter/api.h>

#include <optional>
#include <string>
#include <unordered_map>

#include "parser/parser.h"

namespace tarn {

struct ModuleScope {
  std::unordered_map<std::string, TSNode> variables;  // name -> assigned value node

  std::optional<TSNode> lookup(const std::string& name) const {
    auto it = variables.find(name);
    if (it == variables.end()) return std::nullopt;
    return it->second;
  }
};

// The assignment a statement consists of (`name = value` written as a
// statement of its own), if any.
std::optional<TSNode> statement_assignment(TSNode statement);

// The first top-level class named exactly "Migration".
std::optional<TSNode> find_migration_class(const ParsedSource& parsed);

// The variables bound by the top-level statements before `migration_class`;
// none without one.
ModuleScope collect_module_variables(const ParsedSource& parsed, std::optional<TSNode> migration_class);

}  // namespace tarn
