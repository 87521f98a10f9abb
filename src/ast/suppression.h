// Suppression comments ("# tarn: ignore R001, R002") and the per-line map
// built from them, shared by every framework.
#pragma once

#include <tree_sitter/api.h>

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "ast/model.h"
#include "parser/parser.h"

namespace tarn {

struct Comment {
  uint64_t line = 0;      // from 1
  std::string_view text;  // the whole token, "#" included; points into the source
};

// Appends every comment in the subtree of `node`, in source order.
void collect_comments(const ParsedSource& parsed, TSNode node, std::vector<Comment>& out);

// The upper-cased rule ids a comment names, in the order written; nothing when
// the comment is not a suppression or names no id.
std::optional<std::vector<std::string>> parse_suppression_comment(std::string_view text);

// Splits the id list at commas, trims, drops empty pieces, upper-cases.
std::vector<std::string> suppression_items(std::string_view list);

// Line -> ids for every suppression comment of the file.
SuppressionMap collect_suppressions(const ParsedSource& parsed);

}  // namespace tarn
