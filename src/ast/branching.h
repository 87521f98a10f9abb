// Statements below which code may run zero or several times: the Alembic and
// Aerich walkers stop treating what they find there as certain.
#pragma once

#include <string_view>

namespace tarn {

inline bool is_branching_statement(std::string_view node_type) {
  return node_type == "if_statement" || node_type == "for_statement" || node_type == "while_statement" ||
         node_type == "try_statement" || node_type == "match_statement";
}

}  // namespace tarn
