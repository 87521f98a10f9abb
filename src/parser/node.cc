#include "parser/node.h"

#include <unordered_map>

#include "util/utf8.h"

namespace tarn {

std::string_view node_text(std::string_view source, TSNode n) {
  const uint32_t start = ts_node_start_byte(n), end = ts_node_end_byte(n);
  if (start > end || end > source.size()) return {};
  const std::string_view text = source.substr(start, end - start);
  return is_valid_utf8(text) ? text : std::string_view{};
}

std::string_view trimmed_text(std::string_view source, TSNode n) { return trim_unicode(node_text(source, n)); }

std::optional<TSNode> field(TSNode n, const char* name) {
  // Resolving a field name scans the grammar's name table, so each name is
  // resolved once; callers pass string literals, whose addresses are stable.
  static std::unordered_map<const char*, TSFieldId> ids;
  auto it = ids.find(name);
  if (it == ids.end()) {
    const TSFieldId id =
        ts_language_field_id_for_name(python_language(), name, static_cast<uint32_t>(std::strlen(name)));
    it = ids.emplace(name, id).first;
  }
  if (it->second == 0) return std::nullopt;
  const TSNode child = ts_node_child_by_field_id(n, it->second);
  if (ts_node_is_null(child)) return std::nullopt;
  return child;
}

std::string_view callee_text(std::string_view source, TSNode n) {
  if (!node_is(n, "call")) return {};
  const auto function = field(n, "function");
  return function ? node_text(source, *function) : std::string_view{};
}

std::vector<TSNode> children(TSNode n) {
  std::vector<TSNode> out;
  out.reserve(ts_node_child_count(n));
  for_each_child(n, [&](TSNode c) {
    out.push_back(c);
    return true;
  });
  return out;
}

std::optional<TSNode> first_named_child(TSNode n) {
  std::optional<TSNode> out;
  for_each_child(n, [&](TSNode c) {
    if (ts_node_is_named(c)) {
      out = c;
      return false;
    }
    return true;
  });
  return out;
}

std::optional<TSNode> first_value_child(TSNode n) {
  std::optional<TSNode> out;
  for_each_child(n, [&](TSNode c) {
    if (is_value_node(c)) out = c;
    return !out;
  });
  return out;
}

TSNode unparenthesized(TSNode n) {
  while (node_is(n, "parenthesized_expression")) {
    const auto inner = first_value_child(n);
    if (!inner) break;
    n = *inner;
  }
  return n;
}

std::optional<TSNode> unparenthesized(std::optional<TSNode> n) {
  if (!n) return n;
  return unparenthesized(*n);
}

}  // namespace tarn
