#include "rules/rule_support.h"

#include <cstddef>
#include <utility>
#include <variant>

namespace tarn {

std::vector<const Operation*> tested_operations(const std::vector<Operation>& operations) {
  std::vector<const Operation*> out;
  // An explicit stack keeps deeply nested wrappers off the call stack.
  std::vector<std::pair<const std::vector<Operation>*, size_t>> stack{{&operations, 0}};
  while (!stack.empty()) {
    auto& [list, index] = stack.back();
    if (index == list->size()) {
      stack.pop_back();
      continue;
    }
    const Operation& op = (*list)[index++];
    if (const auto* separate = std::get_if<payload::SeparateDatabaseAndState>(&op.payload)) {
      stack.emplace_back(&separate->database_operations, 0);
    } else {
      out.push_back(&op);
    }
  }
  return out;
}

}  // namespace tarn
