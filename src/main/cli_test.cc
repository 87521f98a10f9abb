#include "main/cli.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace tarn {
namespace {

using Args = std::vector<std::string>;

std::string args_text(const Args& args) {
  std::string out;
  for (const std::string& a : args) out += "[" + a + "]";
  return out;
}

Cli defaults() {
  Cli cli;
  cli.paths = {"."};
  return cli;
}

Cli rule(std::string id) {
  Cli cli = defaults();
  cli.command = Commands{Commands::Rule{std::move(id)}};
  return cli;
}

struct ParseCase {
  Args args;
  Cli expected;
};

TEST(ParseCommandLine, BuildsCli) {
  const auto with = [](auto change) {
    Cli cli = defaults();
    change(cli);
    return cli;
  };
  using V = std::vector<std::string>;
  // What reaches run unchanged and no report shows: duplicates, empty
  // pieces, raw bytes, and words after "--".
  const std::vector<ParseCase> cases = {
      {{}, defaults()},
      {{"--select", "a,,b,"}, with([](Cli& c) { c.select = V{"a", "", "b", ""}; })},
      // After a path, `rule` and `help` are paths too.
      {{".", "rule", "help"}, with([](Cli& c) { c.paths = {".", "rule", "help"}; })},
      {{"a", "--", "--", "b"}, with([](Cli& c) { c.paths = {"a", "--", "b"}; })},
      {{"--diff=--x"}, with([](Cli& c) { c.diff = "--x"; })},
      {{"--diff="}, with([](Cli& c) { c.diff = ""; })},
      {{"rule", "--", "-x"}, rule("-x")},
  };
  for (const ParseCase& c : cases) {
    const CliOutcome outcome = parse_command_line(c.args);
    const Cli* cli = std::get_if<Cli>(&outcome);
    ASSERT_NE(cli, nullptr) << args_text(c.args) << "\n" << std::get<CliExit>(outcome).err;
    EXPECT_EQ(*cli, c.expected) << args_text(c.args);
  }
}

// The exit a command line ends in, unstyled unless asked.
CliExit exit_of(const Args& args, CliStyling styling = {}) {
  const CliOutcome outcome = parse_command_line(args, styling);
  const CliExit* exit = std::get_if<CliExit>(&outcome);
  if (exit == nullptr) {
    ADD_FAILURE() << args_text(args) << " parsed";
    return {};
  }
  return *exit;
}

TEST(ParseCommandLine, HelpAndVersionActWhereTheyStand) {
  const std::string main_help = exit_of({"--help"}).out;
  const std::string rule_help = exit_of({"rule", "--help"}).out;
  ASSERT_NE(main_help, rule_help);
  struct Case {
    Args args;
    std::string out;
  };
  const Case cases[] = {
      {{"--diff", "a", "--diff-staged", "b", "--help"}, main_help},
      // An error after them is never reached.
      {{"-h", "--bogus"}, main_help},
      {{"-Vh"}, "tarn 0.7.0\n"},
      {{"--select", "x", "rule", "-h"}, rule_help},
  };
  for (const Case& c : cases) {
    const CliExit exit = exit_of(c.args);
    EXPECT_EQ(exit.out, c.out) << args_text(c.args);
    EXPECT_EQ(exit.err, "") << args_text(c.args);
    EXPECT_EQ(exit.status, 0) << args_text(c.args);
  }
}

// The three shapes of a usage error: with the main or the subcommand's usage
// line, or with none.
std::string main_usage(const std::string& error) {
  return "error: " + error + "\n\nUsage: tarn [OPTIONS] [PATHS]... [COMMAND]\n\nFor more information, try '--help'.\n";
}
std::string rule_usage(const std::string& error) {
  return "error: " + error + "\n\nUsage: tarn rule <RULE_ID>\n\nFor more information, try '--help'.\n";
}
std::string no_usage(const std::string& error) {
  return "error: " + error + "\n\nFor more information, try '--help'.\n";
}

TEST(ParseCommandLine, UsageErrorsGoToStderrWithStatusTwo) {
  const std::string formats = "\n  [possible values: default, json, compact]";
  struct Case {
    Args args;
    std::string err;
  };
  const Case cases[] = {
      {{"--output-format="},
       no_usage("a value is required for '--output-format <OUTPUT_FORMAT>' but none was supplied" + formats)},
      // A word that looks like an option is not a value: when it names no
      // argument, that word is what is reported.
      {{"--diff", "--select", "R001"}, no_usage("a value is required for '--diff <REF>' but none was supplied")},
      {{"--diff", "--list-rules=x"},
       main_usage("unexpected value 'x' for '--list-rules' found; no more were expected")},
      // The conflict names the earlier option first.
      {{"--diff-staged", "main", "--diff", "main"},
       main_usage("the argument '--diff-staged <REF>' cannot be used with '--diff <REF>'")},
      {{"rule", "R001", "R002"}, rule_usage("unexpected argument 'R002' found")},
      {{"help", "rul"}, main_usage("unrecognized subcommand 'rul'\n\n  tip: a similar subcommand exists: 'rule'")},
      // Exactly as close to --select as to --help: the later candidate wins.
      {{"--eel"}, main_usage("unexpected argument '--eel' found\n\n  tip: a similar argument exists: '--help'")},
      {{"help", "help", "x"},
       "error: unrecognized subcommand 'x'\n\nUsage: tarn help [COMMAND]...\n\nFor more information, try '--help'.\n"},
      // Echoed arguments cannot drive the terminal.
      {{"--\x1b[2J"},
       main_usage(
           "unexpected argument '--\\x1b[2J' found\n\n  tip: to pass '--\\x1b[2J' as a value, use '-- --\\x1b[2J'")},
  };
  for (const Case& c : cases) {
    const CliExit exit = exit_of(c.args);
    EXPECT_EQ(exit.out, "") << args_text(c.args);
    EXPECT_EQ(exit.err, c.err) << args_text(c.args);
    EXPECT_EQ(exit.status, 2) << args_text(c.args);
  }
}

TEST(ParseCommandLine, StylesOnlyTheStreamThatAllowsIt) {
  const Args help = {"rule", "-h"}, error = {"--output-format", "jsn"};
  EXPECT_NE(exit_of(help, CliStyling{true, false}).out, exit_of(help).out);
  EXPECT_EQ(exit_of(help, CliStyling{false, true}).out, exit_of(help).out);
  EXPECT_NE(exit_of(error, CliStyling{false, true}).err, exit_of(error).err);
  EXPECT_EQ(exit_of(error, CliStyling{true, false}).err, exit_of(error).err);
}

TEST(JaroSimilarity, MatchesKnownValues) {
  struct Case {
    const char* a;
    const char* b;
    double expected;
  };
  const Case cases[] = {
      {"", "", 1.0},
      {"ab", "ba", 0.0},  // no match window for one-character shifts in two-character texts
      {"martha", "marhta", 0.944},
      // Counted in code points, not bytes.
      {"testabctest", "test\xC3\xB6\xE0\xA6\x99\xE9\xA6\x99test", 0.818},
  };
  for (const Case& c : cases) {
    EXPECT_NEAR(jaro_similarity(c.a, c.b), c.expected, 0.001) << c.a << " / " << c.b;
    EXPECT_NEAR(jaro_similarity(c.b, c.a), c.expected, 0.001) << c.b << " / " << c.a;
  }
}

}  // namespace
}  // namespace tarn
