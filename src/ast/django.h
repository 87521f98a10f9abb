// Django operation calls -> Operation records.
#pragma once

#include <tree_sitter/api.h>

#include <optional>

#include "ast/django_args.h"
#include "ast/model.h"

namespace tarn {

// One call such as migrations.AddField(...); nothing when the call has no
// function or no arguments. Unknown classes give kind Other.
std::optional<Operation> decode_django_operation(DjangoContext& ctx, TSNode call);

}  // namespace tarn
