// tree-sitter set-up: the Python language, parsing with the nesting limit, and
// RAII owners for every tree-sitter object.
#pragma once

#include <tree_sitter/api.h>

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "error/result.h"

namespace tarn {

inline constexpr uint64_t kMaxMigrationBytes = 10485760;
inline constexpr uint32_t kMaxNestingDepth = 256;

struct TreeDeleter {
  void operator()(TSTree* t) const { ts_tree_delete(t); }
};
struct ParserDeleter {
  void operator()(TSParser* p) const { ts_parser_delete(p); }
};
using TreeHandle = std::unique_ptr<TSTree, TreeDeleter>;
using ParserHandle = std::unique_ptr<TSParser, ParserDeleter>;

// A tree cursor that is always released.
class Cursor {
 public:
  explicit Cursor(TSNode node) : c_(ts_tree_cursor_new(node)) {}
  ~Cursor() { ts_tree_cursor_delete(&c_); }
  Cursor(const Cursor&) = delete;
  Cursor& operator=(const Cursor&) = delete;
  TSTreeCursor* get() { return &c_; }

 private:
  TSTreeCursor c_;
};

// The whole text of one migration file and its syntax tree.
struct ParsedSource {
  std::string source;
  TreeHandle tree;
  TSNode root() const { return ts_tree_root_node(tree.get()); }
};

// The process-wide Python language, initialised once.
const TSLanguage* python_language();

// Parses `source` and checks the nesting limit; `name` labels errors.
Result<TreeHandle> parse_python(std::string_view source, const std::string& name);

}  // namespace tarn
