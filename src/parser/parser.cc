#include "parser/parser.h"

#include <cstdio>
#include <algorithm>
#include <cstdlib>
#include <ctime>

#include <signal.h>
#include <sys/syscall.h>
#include <time.h>
#include <unistd.h>

// glibc before 2.38 names this field only by its inner name.
#ifndef sigev_notify_thread_id
#define sigev_notify_thread_id _sigev_un._tid
#endif
#include <optional>
#include <vector>

#include "parser/node.h"

extern "C" const TSLanguage* tree_sitter_python(void);

namespace tarn {

const TSLanguage* python_language() {
  static const TSLanguage* const language = tree_sitter_python();
  return language;
}

namespace {

OutOfMemoryHandler out_of_memory = nullptr;

// A request for nothing may be answered with a null pointer.
void* checked(void* p, size_t size) {
  if (!p && size != 0) out_of_memory();
  return p;
}
void* parser_malloc(size_t size) { return checked(std::malloc(size), size); }
void* parser_calloc(size_t count, size_t size) { return checked(std::calloc(count, size), count * size); }
void* parser_realloc(void* p, size_t size) { return checked(std::realloc(p, size), size); }

thread_local std::vector<CursorHandle> idle_cursors;

}  // namespace

void set_parser_out_of_memory_handler(OutOfMemoryHandler handler) {
  out_of_memory = handler;
  ts_set_allocator(parser_malloc, parser_calloc, parser_realloc, std::free);
}

Cursor::Cursor(TSNode node) {
  if (idle_cursors.empty()) {
    c_.reset(new TSTreeCursor(ts_tree_cursor_new(node)));
    return;
  }
  c_ = std::move(idle_cursors.back());
  idle_cursors.pop_back();
  ts_tree_cursor_reset(c_.get(), node);
}

Cursor::~Cursor() {
  // Should the pool fail to grow, the cursor is simply deleted.
  try {
    idle_cursors.push_back(std::move(c_));
  } catch (...) {
  }
}

namespace {

// The text is handed out in small chunks so that the bytes served measure how
// far the lexer has read, rescans included; once they pass the budget the
// flag tree-sitter polls between parse actions stops the parse. A rescan that
// stays inside one chunk is not seen, so chunks are kept small: a text made
// of line continuations then runs out of budget long before time matters,
// while real files still need only a few times their size.
constexpr uint32_t kChunkBytes = 256;

struct ReadState {
  std::string_view text;
  uint64_t budget = 0;
  uint64_t served = 0;
  size_t* cancel = nullptr;
};

const char* read_chunk(void* payload, uint32_t byte_index, TSPoint, uint32_t* bytes_read) {
  auto* state = static_cast<ReadState*>(payload);
  if (byte_index >= state->text.size()) {
    *bytes_read = 0;
    return "";
  }
  *bytes_read = static_cast<uint32_t>(std::min<size_t>(state->text.size() - byte_index, kChunkBytes));
  state->served += *bytes_read;
  if (state->served > state->budget) __atomic_store_n(state->cancel, 1, __ATOMIC_SEQ_CST);
  return state->text.data() + byte_index;
}

// True when some node lies deeper than the limit (root = depth 1). One
// cursor walks the tree without recursion, so a hostile file cannot exhaust
// the call stack, and nothing is allocated per node.
bool exceeds_depth(TSNode root) {
  TSTreeCursor cursor = ts_tree_cursor_new(root);
  uint32_t depth = 1;
  bool too_deep = false;
  for (;;) {
    if (depth > kMaxNestingDepth) {
      too_deep = true;
      break;
    }
    // A subtree of n nodes is at most n levels high: one that cannot reach
    // past the limit is not entered, which skips almost every node.
    const uint32_t nodes = ts_node_descendant_count(ts_tree_cursor_current_node(&cursor));
    if (depth + nodes - 1 > kMaxNestingDepth && ts_tree_cursor_goto_first_child(&cursor)) {
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

struct WideLine {
  uint32_t row;         // 0-based
  uint32_t first_byte;  // of the first character after the indentation
};

// Lines indented 256 columns or more, counted the way the grammar's scanner
// counts them (a tab is 8 columns, a form feed starts again from 0); blank
// and comment-only lines do not decide the structure and are left out.
std::vector<WideLine> wide_lines(std::string_view text) {
  std::vector<WideLine> out;
  uint32_t row = 0;
  size_t pos = 0;
  while (pos < text.size()) {
    uint64_t columns = 0;
    size_t i = pos;
    for (; i < text.size(); ++i) {
      const char c = text[i];
      if (c == ' ') {
        ++columns;
      } else if (c == '\t') {
        columns += 8;
      } else if (c == '\f') {
        columns = 0;
      } else {
        break;
      }
    }
    if (columns >= kMaxIndentColumns && i < text.size() && text[i] != '\n' && text[i] != '\r' && text[i] != '#') {
      out.push_back({row, static_cast<uint32_t>(i)});
    }
    const size_t end = text.find('\n', i);
    if (end == std::string_view::npos) break;
    pos = end + 1;
    ++row;
  }
  return out;
}

// The first line whose indentation the scanner cannot hold, when it matters:
// it keeps each level in one byte, so a block that deep is read at the wrong
// level, either as a syntax error elsewhere or as a valid tree of the wrong
// shape. With an error in the tree any such line is named; otherwise only
// one that starts a statement (in brackets or strings indentation is free).
std::optional<uint32_t> first_wide_statement_line(std::string_view text, TSNode root) {
  const std::vector<WideLine> wide = wide_lines(text);
  if (wide.empty()) return std::nullopt;
  if (ts_node_has_error(root)) return wide.front().row;
  std::optional<uint32_t> found;
  walk_preorder(root, [&](TSNode node) {
    if (found) return false;
    if (!node_is(node, "block") && !node_is(node, "module")) return true;
    for_each_child(node, [&](TSNode statement) {
      const uint32_t row = ts_node_start_point(statement).row;
      const auto it = std::lower_bound(wide.begin(), wide.end(), row,
                                       [](const WideLine& line, uint32_t r) { return line.row < r; });
      if (it != wide.end() && it->row == row && it->first_byte == ts_node_start_byte(statement)) found = row;
      return !found;
    });
    return !found;
  });
  return found;
}

}  // namespace

uint64_t parse_work_budget(uint64_t size) { return kParseWorkPerByte * size + kParseWorkBase; }

uint64_t parse_cpu_budget_micros(uint64_t size) { return kParseMicrosBase + kParseMicrosPerKiB * (size / 1024); }

ParseLimits default_parse_limits(uint64_t size) {
  ParseLimits limits;
  limits.work_budget = parse_work_budget(size);
  limits.cpu_budget_micros = parse_cpu_budget_micros(size);
  return limits;
}

Result<TreeHandle> parse_python(std::string_view source, const std::string& name) {
  return parse_python(source, name, default_parse_limits(source.size()));
}

namespace {

// One parser serves every parse of the thread: making one per file would
// allocate its stacks and buffers again each time.
TSParser* thread_parser() {
  thread_local const ParserHandle parser = [] {
    ParserHandle made(ts_parser_new());
    const TSLanguage* language = python_language();
    const uint32_t version = ts_language_version(language);
    if (version < 13 || version > 14 || !ts_parser_set_language(made.get(), language)) {
      std::fprintf(stderr, "Failed to set Python language: incompatible language version %u\n", version);
      std::abort();
    }
    return made;
  }();
  return parser.get();
}

// The flag tree-sitter polls between parse actions, raised when the lexer
// has read its budget or the thread has used its CPU time. The CPU time is
// watched by a timer on the thread's own CPU clock, whose signal raises the
// flag: a thread that is stopped or waits for a processor uses none, so a
// paused or crowded machine gives the same answer as an idle one. The flag
// lives as long as the thread, so a signal that arrives late finds it.
class CpuAlarm {
 public:
  CpuAlarm() { create(); }
  ~CpuAlarm() {
    if (armable_) timer_delete(timer_);
  }
  CpuAlarm(const CpuAlarm&) = delete;
  CpuAlarm& operator=(const CpuAlarm&) = delete;

  // Raises the flag once the thread has run `micros` more (0: never); false
  // when no timer could be had.
  bool arm(uint64_t micros) {
    // A child process inherits this object but not its timer.
    if (owner_ != getpid()) create();
    return armable_ && set(micros);
  }
  void disarm() {
    if (armable_) set(0);
  }

  size_t flag = 0;

 private:
  static int alarm_signal() { return SIGRTMIN + 1; }

  void create() {
    static const bool handler_installed = [] {
      struct sigaction action {};
      action.sa_sigaction = [](int, siginfo_t* info, void*) {
        __atomic_store_n(static_cast<size_t*>(info->si_value.sival_ptr), 1, __ATOMIC_SEQ_CST);
      };
      action.sa_flags = SA_SIGINFO | SA_RESTART;
      sigemptyset(&action.sa_mask);
      return sigaction(alarm_signal(), &action, nullptr) == 0;
    }();
    sigevent event{};
    event.sigev_notify = SIGEV_THREAD_ID;
    event.sigev_signo = alarm_signal();
    event.sigev_value.sival_ptr = &flag;
    event.sigev_notify_thread_id = static_cast<pid_t>(syscall(SYS_gettid));
    owner_ = getpid();
    armable_ = handler_installed && timer_create(CLOCK_THREAD_CPUTIME_ID, &event, &timer_) == 0;
  }
  bool set(uint64_t micros) {
    itimerspec expiry{};
    expiry.it_value.tv_sec = static_cast<time_t>(micros / 1'000'000);
    expiry.it_value.tv_nsec = static_cast<long>(micros % 1'000'000) * 1000;
    return timer_settime(timer_, 0, &expiry, nullptr) == 0;
  }

  timer_t timer_{};
  pid_t owner_ = 0;
  bool armable_ = false;
};

// Points the parser at the thread's flag and CPU alarm for one parse, and
// leaves it clean afterwards: a parse that was stopped would otherwise be
// resumed by the next one.
class ParseSession {
 public:
  ParseSession(TSParser* parser, uint64_t cpu_micros) : parser_(parser) {
    alarm().flag = 0;
    ts_parser_set_cancellation_flag(parser_, &alarm().flag);
    // Without a timer (the system would not give one) elapsed time has to
    // stand in for CPU time.
    if (!alarm().arm(cpu_micros)) ts_parser_set_timeout_micros(parser_, cpu_micros);
  }
  ~ParseSession() {
    alarm().disarm();
    ts_parser_set_cancellation_flag(parser_, nullptr);
    ts_parser_set_timeout_micros(parser_, 0);
    ts_parser_reset(parser_);
  }
  ParseSession(const ParseSession&) = delete;
  ParseSession& operator=(const ParseSession&) = delete;

  static CpuAlarm& alarm() {
    thread_local CpuAlarm alarm;
    return alarm;
  }

 private:
  TSParser* parser_;
};

}  // namespace

Result<TreeHandle> parse_python(std::string_view source, const std::string& name, const ParseLimits& limits) {
  TSParser* parser = thread_parser();
  const ParseSession session(parser, limits.cpu_budget_micros);
  ReadState state{source, limits.work_budget, 0, &ParseSession::alarm().flag};
  const TSInput input{&state, read_chunk, TSInputEncodingUTF8};
  TreeHandle tree(ts_parser_parse(parser, nullptr, input));
  if (!tree && state.served > state.budget) {
    return Error::parse_failed(name, "parse work limit exceeded: the lexer read more than " +
                                         std::to_string(limits.work_budget) + " bytes of a " +
                                         std::to_string(source.size()) + "-byte text");
  }
  if (!tree) {
    return Error::parse_failed(name, "parse time limit exceeded: more than " +
                                         std::to_string(limits.cpu_budget_micros / 1000) + " ms of CPU time for a " +
                                         std::to_string(source.size()) + "-byte text");
  }
  if (exceeds_depth(ts_tree_root_node(tree.get()))) {
    return Error::parse_failed(name, "AST nesting exceeds the maximum depth of " +
                                         std::to_string(kMaxNestingDepth));
  }
  if (const auto row = first_wide_statement_line(source, ts_tree_root_node(tree.get()))) {
    return Error::parse_failed(name, "indentation of " + std::to_string(kMaxIndentColumns) +
                                         " columns or more at line " + std::to_string(uint64_t{*row} + 1) +
                                         " is not supported");
  }
  return tree;
}

}  // namespace tarn
