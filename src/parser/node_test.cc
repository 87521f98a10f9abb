#include "parser/node.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>

namespace tarn {
namespace {

TEST(Unparenthesized, LooksThroughParenthesesOnly) {
  // Each value is assigned to x; the answer is the type and text it stands for.
  const std::pair<std::string, std::string> cases[] = {
      {"1", "integer 1"},
      {"(1)", "integer 1"},
      {"((  # why\n 1  # still one\n))", "integer 1"},
      {"(\n 'a '  # first\n 'b'\n)", "concatenated_string 'a '  # first\n 'b'"},
      {"(1,)", "tuple (1,)"},
      {"((1,))", "tuple (1,)"},
      {"()", "tuple ()"},
      {"([])", "list []"},
      {"(a).b", "attribute (a).b"},
  };
  for (const auto& [value, expected] : cases) {
    const std::string source = "x = " + value + "\n";
    auto tree = parse_python(source, "t.py");
    ASSERT_TRUE(tree.ok()) << value;
    const TSNode root = ts_tree_root_node(tree->get());
    ASSERT_FALSE(ts_node_has_error(root)) << value;
    const TSNode right = *field(*first_named_child(*first_named_child(root)), "right");
    const TSNode seen = unparenthesized(right);
    EXPECT_EQ(std::string(node_type(seen)) + " " + std::string(node_text(source, seen)), expected) << value;
  }
}

}  // namespace
}  // namespace tarn
