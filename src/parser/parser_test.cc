#include "parser/parser.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <string>
#include <thread>

#include <signal.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>
#include <utility>
#include <vector>

#include "parser/node.h"

namespace tarn {
namespace {

// Depth of the deepest node (root = 1), measured independently of the code
// under test: an explicit stack and a cursor per node.
uint32_t tree_depth(TSNode root) {
  uint32_t deepest = 0;
  std::vector<std::pair<TSNode, uint32_t>> stack{{root, 1}};
  while (!stack.empty()) {
    const auto [node, depth] = stack.back();
    stack.pop_back();
    deepest = std::max(deepest, depth);
    for_each_child(node, [&, d = depth](TSNode child) {
      stack.emplace_back(child, d + 1);
      return true;
    });
  }
  return deepest;
}

uint32_t unchecked_depth(const std::string& text) {
  ParserHandle parser(ts_parser_new());
  EXPECT_TRUE(ts_parser_set_language(parser.get(), python_language()));
  TreeHandle tree(ts_parser_parse_string(parser.get(), nullptr, text.data(), static_cast<uint32_t>(text.size())));
  return tree_depth(ts_tree_root_node(tree.get()));
}

std::string nested_lists(size_t levels) {
  return "x = " + std::string(levels, '[') + std::string(levels, ']') + "\n";
}

TEST(ParsePython, DeepStatementAmongManyShallowOnes) {
  // Shallow subtrees are skipped by the check; the one deep statement at the
  // end of a long file must still be found, and one level less must pass.
  std::string shallow;
  for (int i = 0; i < 2000; ++i) shallow += "value_" + std::to_string(i) + " = call(a, b=[1, 2], c={'k': v})\n";
  const uint32_t base = unchecked_depth(nested_lists(1));
  const size_t levels = 1 + (256 - base);
  ASSERT_EQ(unchecked_depth(shallow + nested_lists(levels)), 256u);
  EXPECT_TRUE(parse_python(shallow + nested_lists(levels), "long.py").ok());
  EXPECT_FALSE(parse_python(shallow + nested_lists(levels + 1), "long.py").ok());
}

// The check skips subtrees by their node count; nested statement blocks,
// some of them aliased grammar rules (a match body is a renamed hidden rule),
// must be counted like any other level. For each shape the check must agree
// with the independent measure on both sides of the limit.
TEST(ParsePython, NestedBlocksAgreeWithIndependentDepth) {
  const std::pair<std::string, std::string> shapes[] = {
      {"match x:", "case 1:"}, {"with a as b, c as d:", ""}, {"for i in x:", ""}, {"class C:", ""}};
  for (const auto& [head, inner_head] : shapes) {
    bool below = false, above = false;
    for (size_t levels = 1; levels < 200 && !above; ++levels) {
      std::string text;
      for (size_t i = 0; i < levels; ++i) {
        // Two columns per level: the grammar's scanner gives up on very wide indentation.
        const std::string indent(i * 2, ' ');
        text += indent + head + "\n";
        if (!inner_head.empty()) text += indent + " " + inner_head + "\n";
      }
      text += std::string(levels * 2, ' ') + "pass\n";
      const uint32_t depth = unchecked_depth(text);
      if (depth < 240) continue;
      EXPECT_EQ(parse_python(text, "deep.py").ok(), depth <= 256) << head << " x" << levels << " depth " << depth;
      (depth <= 256 ? below : above) = true;
    }
    EXPECT_TRUE(below && above) << head;
  }
}

TEST(ParsePython, HostileBracketRunsEndCleanly) {
  const std::string deep = "x = " + std::string(100000, '(') + "1" + std::string(100000, ')') + "\n";
  EXPECT_FALSE(parse_python(deep, "deep.py").ok());
  // Error recovery keeps this tree flat: it passes the limit and carries errors.
  auto open = parse_python(std::string(70000, '('), "open.py");
  ASSERT_TRUE(open.ok());
  EXPECT_TRUE(ts_node_has_error(ts_tree_root_node(open->get())));
}

ParseLimits with_work_budget(uint64_t budget) {
  ParseLimits limits = default_parse_limits(0);
  limits.work_budget = budget;
  return limits;
}

std::string continuations(size_t count) {
  std::string out = "x = 1";
  for (size_t i = 0; i < count; ++i) out += " \\\n";
  return out + "\n";
}

TEST(ParsePython, LexerWorkIsBudgeted) {
  // Ordinary code needs the lexer to read its text about twice; the grammar
  // rescans line continuations quadratically. The default budget lets the
  // first through with room to spare and stops the second, size for size.
  std::string ordinary;
  while (ordinary.size() < 300000) ordinary += "value = call(a, b=[1, 2], c={'k': v})  # note\n";
  const std::string rescanned = continuations(ordinary.size() / 3);
  EXPECT_TRUE(parse_python(ordinary, "ordinary.py", with_work_budget(4 * ordinary.size())).ok());
  auto stopped = parse_python(rescanned, "slow.py");
  ASSERT_FALSE(stopped.ok());
  EXPECT_EQ(stopped.error().kind, ErrorKind::ParseFailed);
  // The budget is all that decides: a small text of the same shape passes.
  const std::string small = continuations(500);
  EXPECT_TRUE(parse_python(small, "small.py").ok());
  EXPECT_FALSE(parse_python(small, "small.py", with_work_budget(10000)).ok());
}

TEST(ParsePython, RescansWithinAFewHundredBytesAreCounted) {
  // Blocks of 1,360 continuations are about 4 KiB each: the rescans stay
  // within what one large chunk would hold, so only small chunks show the
  // lexer reading each block hundreds of times.
  std::string text;
  for (int i = 0; i < 64; ++i) text += continuations(1360);
  auto result = parse_python(text, "blocks.py", with_work_budget(20 * text.size()));
  ASSERT_FALSE(result.ok());
  EXPECT_NE(result.error().message().find("parse work limit exceeded"), std::string::npos);
}

double thread_cpu_seconds() {
  timespec now{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
  return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) / 1e9;
}

TEST(ParsePython, CpuTimeEndsAParseTheLexerCannot) {
  // Error recovery over runs of dots reads little but takes seconds.
  std::string dots = "x = ";
  for (int i = 0; i < 8000; ++i) dots += "......\n";
  ParseLimits limits = default_parse_limits(dots.size());
  limits.cpu_budget_micros = 50'000;
  auto result = parse_python(dots, "dots.py", limits);
  ASSERT_FALSE(result.ok());
  EXPECT_EQ(result.error().message(), "Failed to parse Python file: dots.py: parse time limit exceeded: more than 50 ms "
                                      "of CPU time for a " + std::to_string(dots.size()) + "-byte text");
}

TEST(ParsePython, AStoppedParseIsNotChargedForTheWait) {
  std::string text;
  while (text.size() < (256u << 10)) text += "value = call(a, b=[1, 2], c={'k': v})  # note\n";
  const double start = thread_cpu_seconds();
  ASSERT_TRUE(parse_python(text, "big.py").ok());
  const double need = thread_cpu_seconds() - start;
  ParseLimits limits = default_parse_limits(text.size());
  limits.cpu_budget_micros = static_cast<uint64_t>(3 * need * 1e6) + 50'000;

  // The child parses with three times the CPU time it needs, and is stopped
  // (as by Ctrl-Z, a debugger or a paused container) for twice that long.
  const pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) _exit(parse_python(text, "big.py", limits).ok() ? 0 : 1);
  std::this_thread::sleep_for(std::chrono::duration<double>(need / 10));
  ASSERT_EQ(kill(child, SIGSTOP), 0);
  int status = 0;
  ASSERT_EQ(waitpid(child, &status, WUNTRACED), child);
  const bool stopped = WIFSTOPPED(status);
  if (stopped) {
    std::this_thread::sleep_for(std::chrono::microseconds(2 * limits.cpu_budget_micros));
    ASSERT_EQ(kill(child, SIGCONT), 0);
    ASSERT_EQ(waitpid(child, &status, 0), child);
  }
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 0);
  if (!stopped) GTEST_SKIP() << "the parse ended before it could be stopped";
}

TEST(ParsePython, IndentationTheScannerCannotHold) {
  const std::string wide(256, ' ');
  const struct {
    std::string text;
    uint64_t line;  // 0: accepted
  } rows[] = {
      {"def f():\n" + std::string(32, '\t') + "x = 1\n", 2},            // a tab counts 8 columns
      {"def f():\n" + std::string(31, '\t') + "       x = 1\n", 0},
      {"x = [\n" + wide + "1,\n]\n", 0},                                // inside brackets
      {"x = '''\n" + wide + "text\n'''\n", 0},                          // inside a string
      {"def f():\n    pass\n" + wide + "# note\n" + wide + "\n", 0},   // comment and blank lines
      {"x = (\ny = [\n" + wide + "1,\n]\n", 3},                         // any wide line once in error
  };
  for (const auto& row : rows) {
    auto result = parse_python(row.text, "wide.py");
    if (row.line == 0) {
      EXPECT_TRUE(result.ok()) << row.text.substr(0, 20) << ": " << result.error().message();
      continue;
    }
    ASSERT_FALSE(result.ok()) << row.text.substr(0, 20);
    EXPECT_EQ(result.error().message(),
              "Failed to parse Python file: wide.py: indentation of 256 columns or more at line " +
                  std::to_string(row.line) + " is not supported");
  }
}

}  // namespace
}  // namespace tarn
