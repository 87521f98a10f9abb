#include "ast/suppression.h"

#include <algorithm>

#include "parser/node.h"
#include "util/split.h"
#include "util/unicode_case.h"
#include "util/utf8.h"

namespace tarn {

namespace {

// Removes `word` from the front of `text`; false when it is not there.
bool consume(std::string_view& text, std::string_view word) {
  if (text.substr(0, word.size()) != word) return false;
  text.remove_prefix(word.size());
  return true;
}

// Appends every comment in the subtree of `node`, in source order.
void collect_comments(const ParsedSource& parsed, TSNode node, std::vector<Comment>& out) {
  // Every comment starts with "#": a subtree without one in its text holds no
  // comment, so the walk only goes down towards the "#" characters.
  const std::string_view source = parsed.source;
  const uint32_t start = ts_node_start_byte(node), end = std::min<size_t>(ts_node_end_byte(node), source.size());
  std::vector<uint32_t> hashes;
  for (size_t at = source.find('#', start); at < end; at = source.find('#', at + 1)) {
    hashes.push_back(static_cast<uint32_t>(at));
  }
  walk_preorder(node, [&](TSNode n) {
    const auto first = std::lower_bound(hashes.begin(), hashes.end(), ts_node_start_byte(n));
    if (first == hashes.end() || *first >= ts_node_end_byte(n)) return false;
    if (!node_is(n, "comment")) return true;
    out.push_back({uint64_t{ts_node_start_point(n).row} + 1, node_text(source, n)});
    return false;
  });
}

// Splits the id list at commas, trims, drops empty pieces, upper-cases.
std::vector<std::string> suppression_items(std::string_view list) {
  std::vector<std::string> items;
  for (std::string_view piece : split_at(list, ',', Pieces::TrimmedNonEmpty)) {
    items.push_back(ascii_upper(piece));
  }
  return items;
}

}  // namespace

std::optional<std::vector<std::string>> parse_suppression_comment(std::string_view text) {
  while (!text.empty() && text.front() == '#') text.remove_prefix(1);
  text = trim_unicode_start(text);
  if (!consume(text, "tarn")) return std::nullopt;
  text = trim_unicode_start(text);
  if (!consume(text, ":")) return std::nullopt;
  text = trim_unicode_start(text);
  if (!consume(text, "ignore")) return std::nullopt;
  if (!text.empty()) {
    size_t pos = 0;
    if (!is_unicode_space(decode_utf8(text, pos))) return std::nullopt;
  }
  std::vector<std::string> items = suppression_items(text);
  if (items.empty()) return std::nullopt;
  return items;
}

SuppressionMap collect_suppressions(const ParsedSource& parsed) {
  std::vector<Comment> comments;
  collect_comments(parsed, parsed.root(), comments);
  SuppressionMap map;
  for (const Comment& comment : comments) {
    auto ids = parse_suppression_comment(comment.text);
    if (!ids) continue;
    auto& set = map[comment.line];
    for (std::string& id : *ids) set.insert(std::move(id));
  }
  return map;
}

}  // namespace tarn
