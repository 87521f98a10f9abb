#include "parser/parser.h"

#include <cstdio>
#include <cstdlib>

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

// True when some node lies deeper than the limit (root = depth 1). One
// cursor walks the whole tree without recursion, so a hostile file cannot
// exhaust the call stack, and nothing is allocated per node.
bool exceeds_depth(TSNode root) {
  TSTreeCursor cursor = ts_tree_cursor_new(root);
  uint32_t depth = 1;
  bool too_deep = false;
  for (;;) {
    if (depth > kMaxNestingDepth) {
      too_deep = true;
      break;
    }
    if (ts_tree_cursor_goto_first_child(&cursor)) {
      ++depth;
      continue;
    }
    bool done = false;
    while (!ts_tree_cursor_goto_next_sibling(&cursor)) {
      if (depth == 1 || !ts_tree_cursor_goto_parent(&cursor)) {
        done = true;
        break;
      }
      --depth;
    }
    if (done) break;
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
