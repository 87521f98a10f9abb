#include "parser/parser.h"

#include <gtest/gtest.h>

#include <string>

namespace tarn {
namespace {

// Nests `levels` parenthesised expressions: each level adds a fixed number of
// tree levels, so the boundary is found by measuring one known shape.
std::string nested_list(size_t levels) { return std::string(levels, '[') + std::string(levels, ']'); }

uint32_t tree_depth(TSNode n) {
  uint32_t best = 0;
  const uint32_t count = ts_node_child_count(n);
  for (uint32_t i = 0; i < count; ++i) best = std::max(best, tree_depth(ts_node_child(n, i)));
  return best + 1;
}

TEST(ParsePython, EmptyTextIsModuleWithoutChildren) {
  auto tree = parse_python("", "a.py");
  ASSERT_TRUE(tree.ok());
  TSNode root = ts_tree_root_node(tree->get());
  EXPECT_STREQ(ts_node_type(root), "module");
  EXPECT_EQ(ts_node_child_count(root), 0u);
}

TEST(ParsePython, TreeWithSyntaxErrorIsReturned) {
  auto tree = parse_python("def f(:\n", "a.py");
  ASSERT_TRUE(tree.ok());
  EXPECT_TRUE(ts_node_has_error(ts_tree_root_node(tree->get())));
}

TEST(ParsePython, DepthBoundaryIsExact) {
  // Find the deepest nesting whose tree is still within the limit.
  for (size_t levels = 100; levels < 300; ++levels) {
    const std::string text = "x = " + nested_list(levels) + "\n";
    ParserHandle parser(ts_parser_new());
    ts_parser_set_language(parser.get(), python_language());
    TreeHandle raw(ts_parser_parse_string(parser.get(), nullptr, text.data(), text.size()));
    const uint32_t depth = tree_depth(ts_tree_root_node(raw.get()));
    auto result = parse_python(text, "deep.py");
    if (depth <= 256) {
      EXPECT_TRUE(result.ok()) << "depth " << depth;
    } else {
      ASSERT_FALSE(result.ok()) << "depth " << depth;
      EXPECT_EQ(result.error().message(),
                "Failed to parse Python file: deep.py: AST nesting exceeds the maximum depth of 256");
      if (depth == 257) return;
    }
  }
}

TEST(ParsePython, VeryDeepExpressionFailsWithoutOverflow) {
  const std::string text = "x = " + std::string(100000, '(') + "1" + std::string(100000, ')') + "\n";
  auto result = parse_python(text, "deep.py");
  ASSERT_FALSE(result.ok());
  EXPECT_EQ(result.error().kind, ErrorKind::ParseFailed);
}

TEST(ParsePython, ManyUnclosedBracketsEndCleanly) {
  const std::string text(70000, '(');
  auto result = parse_python(text, "open.py");
  // Either refused for depth or returned with errors; it must not crash.
  if (result.ok()) {
    EXPECT_TRUE(ts_node_has_error(ts_tree_root_node(result->get())));
  }
}

}  // namespace
}  // namespace tarn
