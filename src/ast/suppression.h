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

// The upper-cased rule ids a comment names, in the order written; nothing when
// the comment is not a suppression or names no id.
std::optional<std::vector<std::string>> parse_suppression_comment(std::string_view text);

// Line -> ids for every suppression comment of the file.
SuppressionMap collect_suppressions(const ParsedSource& parsed);

}  // namespace tarn
