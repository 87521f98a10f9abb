// Alembic migrations: the op.* calls reached from the body of the module's
// upgrade function, decoded into operations.
#pragma once

#include <tree_sitter/api.h>

#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "ast/model.h"
#include "parser/parser.h"

namespace tarn {

// The operations of the first top-level `upgrade`, in source order; none
// without one.
std::vector<Operation> alembic_operations(const ParsedSource& parsed);

// --- Walker ---

// The first undecorated top-level function named "upgrade".
std::optional<TSNode> find_upgrade_function(const ParsedSource& parsed);

// Appends the operations of the calls in `node`'s subtree. `in_autocommit`:
// inside `with op.get_context().autocommit_block():`; `unconditional`: no
// if/for/while/try/match lies between the upgrade body and the node.
void walk_alembic_body(const ParsedSource& parsed, TSNode node, bool in_autocommit, bool unconditional,
                       std::vector<Operation>& out);

// Name -> bound to op.get_context() by a statement directly in upgrade's body.
using ContextVariables = std::map<std::string, bool>;
void collect_context_variables(std::string_view source, TSNode node, bool top_level, ContextVariables& vars);
bool is_get_context_call(std::string_view source, TSNode node);

// --- Decoder ---

// Zero to three operations for one call; only op.<method>(...) calls of the
// schema-changing methods yield any.
std::vector<Operation> decode_alembic_op_call(std::string_view source, TSNode call, bool in_autocommit,
                                              bool unconditional);

}  // namespace tarn
