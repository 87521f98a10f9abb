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

namespace {
thread_local uint64_t callee_steps = 0;
}  // namespace

uint64_t callee_name_steps() { return callee_steps; }

std::optional<std::string> callee_name(std::string_view source, TSNode n, size_t max_parts) {
  if (!node_is(n, "call")) return std::nullopt;
  auto node = field(n, "function");
  // Pieces from the end of the chain to its start; walked in a loop, as a
  // chain can be as long as the file.
  std::vector<std::string_view> pieces;
  size_t parts = 0;
  while (node) {
    ++callee_steps;
    const TSNode part = unparenthesized(*node);
    if (node_is(part, "identifier")) {
      pieces.push_back(node_text(source, part));
      std::string out;
      for (auto it = pieces.rbegin(); it != pieces.rend(); ++it) out += *it;
      return out;
    }
    // The name at the chain's start is a part too, so every other part must
    // leave room for it.
    if (++parts >= max_parts) return std::nullopt;
    if (node_is(part, "attribute")) {
      const auto attribute = field(part, "attribute");
      if (!attribute) return std::nullopt;
      pieces.push_back(node_text(source, *attribute));
      pieces.push_back(".");
      node = field(part, "object");
    } else if (node_is(part, "call")) {
      const auto arguments = field(part, "arguments");
      if (!arguments || !node_is(*arguments, "argument_list") || first_value_child(*arguments)) return std::nullopt;
      pieces.push_back("()");
      node = field(part, "function");
    } else {
      return std::nullopt;
    }
  }
  return std::nullopt;
}

std::optional<std::string_view> last_name(std::string_view source, TSNode n) {
  const TSNode node = unparenthesized(n);
  if (node_is(node, "identifier")) return node_text(source, node);
  if (!node_is(node, "attribute")) return std::nullopt;
  const auto attribute = field(node, "attribute");
  if (!attribute) return std::nullopt;
  return node_text(source, *attribute);
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
