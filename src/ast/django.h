// Django migrations: the Migration class's operations list and atomic flag,
// the module's imports, and the decoder of one operation call.
#pragma once

#include <tree_sitter/api.h>

#include <optional>
#include <vector>

#include "ast/django_args.h"
#include "ast/model.h"
#include "error/result.h"
#include "parser/parser.h"

namespace tarn {

// One call such as migrations.AddField(...); nothing when the call has no
// function or no arguments. Unknown classes give kind Other.
std::optional<Operation> decode_django_operation(DjangoContext& ctx, TSNode call);

// Appends the operation of each call that the list or tuple `list` holds,
// parenthesised or not. Other elements are no operations; a call with a
// trailing comma inside its parentheses is a tuple, which Django cannot run.
void decode_operation_calls(DjangoContext& ctx, TSNode list, std::vector<Operation>& out);

// Fills the class span, operations, non-atomic flag and imports of `out`
// (whose path is set); fails when a bound of the decoding cut it short.
Status analyze_django(const ParsedSource& parsed, ParsedMigration& out);

}  // namespace tarn
