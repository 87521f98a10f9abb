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

inline constexpr uint32_t kMaxNestingDepth = 256;
// The grammar's scanner cannot hold deeper indentation (see parser.cc).
inline constexpr uint32_t kMaxIndentColumns = 256;

struct TreeDeleter {
  void operator()(TSTree* t) const { ts_tree_delete(t); }
};
struct ParserDeleter {
  void operator()(TSParser* p) const { ts_parser_delete(p); }
};
using TreeHandle = std::unique_ptr<TSTree, TreeDeleter>;
using ParserHandle = std::unique_ptr<TSParser, ParserDeleter>;

struct CursorDeleter {
  void operator()(TSTreeCursor* c) const {
    ts_tree_cursor_delete(c);
    delete c;
  }
};
using CursorHandle = std::unique_ptr<TSTreeCursor, CursorDeleter>;

// A tree cursor at `node`, borrowed from a pool of the thread's idle cursors
// and given back when it goes out of scope: a walk allocates nothing once the
// pool holds as many cursors as walks are ever nested.
class Cursor {
 public:
  explicit Cursor(TSNode node);
  ~Cursor();
  Cursor(const Cursor&) = delete;
  Cursor& operator=(const Cursor&) = delete;
  TSTreeCursor* get() { return c_.get(); }

 private:
  CursorHandle c_;
};

// The whole text of one migration file and its syntax tree.
struct ParsedSource {
  std::string source;
  TreeHandle tree;
  TSNode root() const { return ts_tree_root_node(tree.get()); }
};

// The process-wide Python language, initialised once.
const TSLanguage* python_language();

// tree-sitter cannot report a failed allocation to its caller; by default it
// aborts. Once a handler is set, tree-sitter allocates through the C library
// and calls it instead when memory runs out. It must not return.
using OutOfMemoryHandler = void (*)();
void set_parser_out_of_memory_handler(OutOfMemoryHandler handler);

// How much the lexer may read, rescans included, before a parse is given up:
// linear in the size, so a text the grammar scans quadratically (long runs of
// line continuations; long blocks of comment lines inside an indented body,
// whose indentation the scanner looks up again after every line) costs what
// it weighs and fails as a parse error. Real files read a few times their
// size; the base lets a small file hold a commented-out block of a thousand
// lines, at a cost of a fraction of a second.
inline constexpr uint64_t kParseWorkPerByte = 64;
inline constexpr uint64_t kParseWorkBase = uint64_t{32} << 20;
uint64_t parse_work_budget(uint64_t size);

// A few texts are slow for the parser itself rather than its lexer (error
// recovery over long runs of dots costs the square of their length), so each
// parse also has a limit on the CPU time of the thread that parses, linear in
// the size and hundreds of times what a valid file of that size takes. CPU
// time, not elapsed time: a run that is paused or shares its processor with
// others gives the same answer as an idle one.
inline constexpr uint64_t kParseMicrosBase = 1'000'000;
inline constexpr uint64_t kParseMicrosPerKiB = 5'000;
uint64_t parse_cpu_budget_micros(uint64_t size);

// What one parse may spend.
struct ParseLimits {
  uint64_t work_budget = 0;
  uint64_t cpu_budget_micros = 0;
};
ParseLimits default_parse_limits(uint64_t size);

// Parses `source` and checks the nesting and indentation limits; `name`
// labels errors.
Result<TreeHandle> parse_python(std::string_view source, const std::string& name);
Result<TreeHandle> parse_python(std::string_view source, const std::string& name, const ParseLimits& limits);

}  // namespace tarn
