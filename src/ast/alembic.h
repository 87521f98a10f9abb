// Alembic migrations: the op.* calls reached from the body of the module's
// upgrade function, decoded into operations.
#pragma once

#include <tree_sitter/api.h>

#include <string_view>
#include <vector>

#include "ast/model.h"
#include "parser/parser.h"

namespace tarn {

// The operations of the first top-level `upgrade`, in source order; none
// without one.
std::vector<Operation> alembic_operations(const ParsedSource& parsed);

// Where in upgrade the walker met a call.
struct CallPlace {
  bool in_autocommit = false;  // in the body of an autocommit block
  bool unconditional = true;   // below no if, for, while, try or match statement
  // Its value is thrown away by the statement that holds it, at most grouped
  // with others by parentheses or commas on the way: it is a statement of its
  // own, not a part of one (an assignment's value, an awaited call).
  bool statement = false;
};

// Zero to three operations for one call; only op.<method>(...) calls of the
// schema-changing methods yield any.
std::vector<Operation> decode_alembic_op_call(std::string_view source, TSNode call, const CallPlace& place);

}  // namespace tarn
