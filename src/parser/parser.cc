#include "parser/parser.h"

#include <cstdio>
#include <cstdlib>
#include <vector>

extern "C" const TSLanguage* tree_sitter_python(void);

namespace tarn {

const TSLanguage* python_language() {
  static const TSLanguage* const language = tree_sitter_python();
  return language;
}

namespace {

struct ReadState {
  std::string_view text;
};

const char* read_chunk(void* payload, uint32_t byte_index, TSPoint, uint32_t* bytes_read) {
  const auto* state = static_cast<const ReadState*>(payload);
  if (byte_index >= state->text.size()) {
    *bytes_read = 0;
    return "";
  }
  *bytes_read = static_cast<uint32_t>(state->text.size() - byte_index);
  return state->text.data() + byte_index;
}

// True when some node lies deeper than the limit (root = depth 1). Iterative,
// so a hostile file cannot exhaust the call stack.
bool exceeds_depth(TSNode root) {
  struct Entry {
    TSNode node;
    uint32_t depth;
  };
  std::vector<Entry> stack{{root, 1}};
  TSTreeCursor cursor = ts_tree_cursor_new(root);
  bool too_deep = false;
  while (!stack.empty()) {
    const Entry e = stack.back();
    stack.pop_back();
    if (e.depth > kMaxNestingDepth) {
      too_deep = true;
      break;
    }
    const uint32_t count = ts_node_child_count(e.node);
    if (count == 0) continue;
    ts_tree_cursor_reset(&cursor, e.node);
    if (!ts_tree_cursor_goto_first_child(&cursor)) continue;
    for (uint32_t i = 0; i < count; ++i) {
      stack.push_back({ts_tree_cursor_current_node(&cursor), e.depth + 1});
      if (!ts_tree_cursor_goto_next_sibling(&cursor)) break;
    }
  }
  ts_tree_cursor_delete(&cursor);
  return too_deep;
}

}  // namespace

Result<TreeHandle> parse_python(std::string_view source, const std::string& name) {
  ParserHandle parser(ts_parser_new());
  const TSLanguage* language = python_language();
  const uint32_t version = ts_language_version(language);
  if (version < 13 || version > 14 || !ts_parser_set_language(parser.get(), language)) {
    std::fprintf(stderr, "Failed to set Python language: incompatible language version %u\n", version);
    std::abort();
  }
  ReadState state{source};
  const TSInput input{&state, read_chunk, TSInputEncodingUTF8};
  TreeHandle tree(ts_parser_parse(parser.get(), nullptr, input));
  if (!tree) return Error::parse_failed(name, "tree-sitter failed to parse");
  if (exceeds_depth(ts_tree_root_node(tree.get()))) {
    return Error::parse_failed(name, "AST nesting exceeds the maximum depth of " +
                                         std::to_string(kMaxNestingDepth));
  }
  return tree;
}

}  // namespace tarn
