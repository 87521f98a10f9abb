#include "parser/node.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <string_view>
#include <vector>

namespace tarn {
namespace {

// The children as a fresh cursor sees them, the reference for for_each_child.
std::vector<std::string> texts_by_cursor(std::string_view source, TSNode n) {
  std::vector<std::string> out;
  TSTreeCursor c = ts_tree_cursor_new(n);
  if (ts_tree_cursor_goto_first_child(&c)) {
    do out.emplace_back(node_text(source, ts_tree_cursor_current_node(&c)));
    while (ts_tree_cursor_goto_next_sibling(&c));
  }
  ts_tree_cursor_delete(&c);
  return out;
}

TEST(ForEachChild, EveryChildInOrderWhateverTheListLengthAndNesting) {
  // Short child lists are read by index, long ones with pooled cursors; each
  // element's own arguments are walked while the list's walk is under way.
  for (const int elements : {0, 1, 3, 4, 12, 40}) {
    std::string source = "x = [";
    for (int i = 0; i < elements; ++i) source += "f(a, b, " + std::to_string(i) + ", c, d, e),";
    source += "]\n";
    auto tree = parse_python(source, "t.py");
    ASSERT_TRUE(tree.ok());
    const TSNode list = *field(*first_named_child(*first_named_child(ts_tree_root_node(tree->get()))), "right");
    std::vector<std::string> seen;
    for_each_child(list, [&](TSNode child) {
      seen.emplace_back(node_text(source, child));
      if (const auto args = field(child, "arguments")) {
        std::vector<std::string> inner;
        for_each_child(*args, [&](TSNode arg) {
          inner.emplace_back(node_text(source, arg));
          return true;
        });
        EXPECT_EQ(inner, texts_by_cursor(source, *args));
      }
      return true;
    });
    EXPECT_EQ(seen, texts_by_cursor(source, list)) << elements;

    size_t visited = 0;
    for_each_child(list, [&](TSNode) { return ++visited < 3; });
    EXPECT_EQ(visited, std::min<size_t>(3, seen.size())) << elements;
  }
}

}  // namespace
}  // namespace tarn
