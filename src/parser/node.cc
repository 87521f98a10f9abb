#include "parser/node.h"

#include "util/utf8.h"

namespace tarn {

std::string_view node_text(std::string_view source, TSNode n) {
  const uint32_t start = ts_node_start_byte(n), end = ts_node_end_byte(n);
  if (start > end || end > source.size()) return {};
  const std::string_view text = source.substr(start, end - start);
  return is_valid_utf8(text) ? text : std::string_view{};
}

std::optional<TSNode> field(TSNode n, const char* name) {
  const TSNode child = ts_node_child_by_field_name(n, name, static_cast<uint32_t>(std::strlen(name)));
  if (ts_node_is_null(child)) return std::nullopt;
  return child;
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

std::vector<TSNode> named_children(TSNode n) {
  std::vector<TSNode> out;
  for_each_child(n, [&](TSNode c) {
    if (ts_node_is_named(c)) out.push_back(c);
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

}  // namespace tarn
