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

// Zero to three operations for one call; only op.<method>(...) calls of the
// schema-changing methods yield any.
std::vector<Operation> decode_alembic_op_call(std::string_view source, TSNode call, bool in_autocommit,
                                              bool unconditional);

}  // namespace tarn
