// Python literals as the interpreter would see them, and node spans.
#pragma once

#include <tree_sitter/api.h>

#include <optional>
#include <string>
#include <string_view>

#include "ast/model.h"

namespace tarn {

// The node when it is a "string" or "concatenated_string" literal.
std::optional<TSNode> string_node_kind(std::optional<TSNode> node);

// A literal's value (escapes decoded unless raw, concatenations joined, an
// f-string with a replacement field gives ""); any other node its source text.
std::string python_string_value(std::string_view source, TSNode node);

// The value of one escape sequence, with or without its leading backslash;
// unrecognised or malformed escapes come back unchanged.
std::string decode_escape(std::string_view escape);

// The literal False, also inside any number of parentheses (comments and line
// continuations in them included).
bool is_false_literal(TSNode node);

Span node_span(TSNode node);

}  // namespace tarn
