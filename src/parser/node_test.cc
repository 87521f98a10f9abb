#include "parser/node.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <optional>
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

TEST(CalleeName, TheNamePythonCalls) {
  const struct {
    std::string call;
    size_t max_parts;
    std::optional<std::string> name;
  } rows[] = {
      {"f()", 1, "f"},
      {"op . get_context( ).autocommit_block()", SIZE_MAX, "op.get_context().autocommit_block"},
      {"((op)  # c\n .get_context(\n)) \\\n .x()", SIZE_MAX, "op.get_context().x"},
      {"a.b.c()", 3, "a.b.c"},
      {"a.b.c()", 2, std::nullopt},
      {"(f)()", 1, "f"},
      {"a.b()", 1, std::nullopt},
      {"f()()", 2, "f()"},
      {"f()()", 1, std::nullopt},
      {"a(x).b()", SIZE_MAX, std::nullopt},
      {"a(x for x in y).b()", SIZE_MAX, std::nullopt},
      {"a[0].b()", SIZE_MAX, std::nullopt},
      {"'s'.join()", SIZE_MAX, std::nullopt},
      {"(a, b).c()", SIZE_MAX, std::nullopt},
  };
  for (const auto& row : rows) {
    const std::string source = "x = " + row.call + "\n";
    auto tree = parse_python(source, "t.py");
    ASSERT_TRUE(tree.ok());
    const TSNode call =
        unparenthesized(*field(*first_named_child(*first_named_child(ts_tree_root_node(tree->get()))), "right"));
    EXPECT_EQ(callee_name(source, call, row.max_parts), row.name) << row.call;
  }
}

}  // namespace
}  // namespace tarn
