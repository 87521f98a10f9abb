// Small accessors over tree-sitter nodes used by every decoder.
#pragma once

#include <tree_sitter/api.h>

#include <cstdint>
#include <cstring>
#include <limits>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "parser/parser.h"

namespace tarn {

inline std::string_view node_type(TSNode n) { return ts_node_type(n); }
inline bool node_is(TSNode n, std::string_view type) { return node_type(n) == type; }

// The source slice of the node; empty when it is not valid UTF-8.
std::string_view node_text(std::string_view source, TSNode n);
// The same without surrounding Unicode white space.
std::string_view trimmed_text(std::string_view source, TSNode n);

std::optional<TSNode> field(TSNode n, const char* name);

// The name a call calls, as Python reads it: the names of its attribute chain
// joined by ".", whatever blanks, comments, line continuations or parentheses
// stand between them, with an argument list inside the chain written "()"
// when it holds no argument. `op . create_index(...)`, `(op).create_index(...)`
// and `op.\` + newline + `create_index(...)` all call "op.create_index".
// Nothing when `n` is not a call, when the chain holds anything else (a
// subscript, a call with arguments, a literal), or when it has more than
// `max_parts` parts, names and "()" alike. A walk naming every call of a
// chain stays linear only with a small limit: each call is then read in a
// bounded number of steps, however long the chain beneath it.
std::optional<std::string> callee_name(std::string_view source, TSNode n,
                                       size_t max_parts = std::numeric_limits<size_t>::max());

// The steps along call chains callee_name has taken on this thread so far, so
// that a test can count the work of a walk rather than time it.
uint64_t callee_name_steps();

// The last name of a name or attribute chain, looked through parentheses:
// "Q" for `models . Q`; nothing for any other expression.
std::optional<std::string_view> last_name(std::string_view source, TSNode n);

// All children (named and anonymous), in order, enumerated with a cursor.
std::vector<TSNode> children(TSNode n);
std::optional<TSNode> first_named_child(TSNode n);

// A value, element or argument: a named node that is not a comment or a line
// continuation (backslash and line break), which the grammar lets stand
// between any two tokens.
inline bool is_value_node(TSNode n) { return ts_node_is_named(n) && !ts_node_is_extra(n); }

// The first value node among the children: what a bracket, argument list or
// statement holds first, if it holds anything.
std::optional<TSNode> first_value_child(TSNode n);

// The expression a value stands for: parentheses around it, at any depth and
// with comments and line continuations inside, are looked through. A trailing comma makes a tuple,
// which stays a tuple.
TSNode unparenthesized(TSNode n);
std::optional<TSNode> unparenthesized(std::optional<TSNode> n);

// Calls fn(child) for each child in order; fn returns false to stop.
// Reaching a child by index allocates nothing but costs more the further
// along the child is, so only short child lists are read that way.
template <typename Fn>
void for_each_child(TSNode n, Fn&& fn) {
  constexpr uint32_t kChildrenByIndex = 5;
  const uint32_t count = ts_node_child_count(n);
  if (count <= kChildrenByIndex) {
    for (uint32_t i = 0; i < count; ++i)
      if (!fn(ts_node_child(n, i))) return;
    return;
  }
  Cursor cursor(n);
  if (!ts_tree_cursor_goto_first_child(cursor.get())) return;
  for (uint32_t i = 0; i < count; ++i) {
    if (!fn(ts_tree_cursor_current_node(cursor.get()))) return;
    if (!ts_tree_cursor_goto_next_sibling(cursor.get())) return;
  }
}

// Pre-order walk over `root` and its subtree with a single cursor; fn(node)
// returns whether to descend into that node's children. Not recursive.
template <typename Fn>
void walk_preorder(TSNode root, Fn&& fn) {
  Cursor cursor(root);
  TSTreeCursor* c = cursor.get();
  uint32_t depth = 0;
  for (;;) {
    if (fn(ts_tree_cursor_current_node(c)) && ts_tree_cursor_goto_first_child(c)) {
      ++depth;
      continue;
    }
    for (;;) {
      if (depth == 0) return;
      if (ts_tree_cursor_goto_next_sibling(c)) break;
      ts_tree_cursor_goto_parent(c);
      --depth;
    }
  }
}

}  // namespace tarn
