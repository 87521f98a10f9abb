// Django migrations: the Migration class's operations list and atomic flag,
// the module's imports, and the decoder of one operation call.
#pragma once

#include <tree_sitter/api.h>

#include <optional>

#include "ast/django_args.h"
#include "ast/model.h"
#include "parser/parser.h"

namespace tarn {

// One call such as migrations.AddField(...); nothing when the call has no
// function or no arguments. Unknown classes give kind Other.
std::optional<Operation> decode_django_operation(DjangoContext& ctx, TSNode call);

// Fills the class span, operations, non-atomic flag and imports of `out`.
void analyze_django(const ParsedSource& parsed, ParsedMigration& out);

}  // namespace tarn
