#include "main/cli.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace tarn {
namespace {

using Args = std::vector<std::string>;

constexpr const char* kMainHelp = R"(A PostgreSQL migration safety linter for Django, Alembic, and Aerich

Usage: tarn [OPTIONS] [PATHS]... [COMMAND]

Commands:
  rule  Show documentation for a specific rule
  help  Print this message or the help of the given subcommand(s)

Arguments:
  [PATHS]...  Paths to lint (files or directories) [default: .]

Options:
      --diff <REF>
          Compare against a git reference (branch, tag, or commit)
      --diff-staged <REF>
          Compare staged changes against a git reference (for pre-commit hooks)
      --output-format <OUTPUT_FORMAT>
          Output format [default: default] [possible values: default, json, compact]
      --select <SELECT>
          Select specific rules to run (comma-separated)
      --ignore <IGNORE>
          Ignore specific rules (comma-separated)
      --warnings-as-errors
          Treat warnings as errors
      --list-rules
          List every rule the binary recognises and exit
  -h, --help
          Print help
  -V, --version
          Print version
)";

constexpr const char* kRuleHelp = R"(Show documentation for a specific rule

Usage: tarn rule <RULE_ID>

Arguments:
  <RULE_ID>  The rule ID (e.g., R001)

Options:
  -h, --help  Print help
)";

constexpr const char* kHelpHelp = R"(Print this message or the help of the given subcommand(s)

Usage: tarn help [COMMAND]...

Arguments:
  [COMMAND]...  Print help for the subcommand(s)
)";

constexpr const char* kMainUsage = "\n\nUsage: tarn [OPTIONS] [PATHS]... [COMMAND]\n";
constexpr const char* kRuleUsage = "\n\nUsage: tarn rule <RULE_ID>\n";
constexpr const char* kTryHelp = "\nFor more information, try '--help'.\n";

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
  const std::vector<ParseCase> cases = {
      {{}, defaults()},
      {{"."}, defaults()},
      {{"--select", "R001,R002", "--select", "R003"}, with([](Cli& c) { c.select = V{"R001", "R002", "R003"}; })},
      {{"--select", "R001"}, with([](Cli& c) { c.select = V{"R001"}; })},
      {{"--select=R001"}, with([](Cli& c) { c.select = V{"R001"}; })},
      // One value per occurrence: the next word is a path.
      {{"--select", "R001", "R002"}, with([](Cli& c) { c.select = V{"R001"}, c.paths = {"R002"}; })},
      {{"--select", "a,,b,"}, with([](Cli& c) { c.select = V{"a", "", "b", ""}; })},
      {{"--select", " r001 "}, with([](Cli& c) { c.select = V{" r001 "}; })},
      {{"--ignore", "R003", "--ignore=R004,R005"}, with([](Cli& c) { c.ignore = V{"R003", "R004", "R005"}; })},
      {{"a", "b", "a"}, with([](Cli& c) { c.paths = {"a", "b", "a"}; })},
      {{"rules"}, with([](Cli& c) { c.paths = {"rules"}; })},
      {{std::string("mig\xff")}, with([](Cli& c) { c.paths = {std::string("mig\xff")}; })},
      {{"-"}, with([](Cli& c) { c.paths = {"-"}; })},
      {{""}, with([](Cli& c) { c.paths = {""}; })},
      // After a path, `rule` and `help` are paths too.
      {{".", "rule", "help"}, with([](Cli& c) { c.paths = {".", "rule", "help"}; })},
      {{"--", "rule", "--diff", "-h"}, with([](Cli& c) { c.paths = {"rule", "--diff", "-h"}; })},
      {{"a", "--", "--", "b"}, with([](Cli& c) { c.paths = {"a", "--", "b"}; })},
      {{"--diff", "main", "x"}, with([](Cli& c) { c.diff = "main", c.paths = {"x"}; })},
      {{"--diff=--x"}, with([](Cli& c) { c.diff = "--x"; })},
      {{"--diff="}, with([](Cli& c) { c.diff = ""; })},
      {{"--diff", "-"}, with([](Cli& c) { c.diff = "-"; })},
      {{"--diff=a=b"}, with([](Cli& c) { c.diff = "a=b"; })},
      {{"--diff-staged", "HEAD"}, with([](Cli& c) { c.diff_staged = "HEAD"; })},
      {{"--output-format", "json"}, with([](Cli& c) { c.output_format = OutputFormat::Json; })},
      {{"--output-format=compact"}, with([](Cli& c) { c.output_format = OutputFormat::Compact; })},
      {{"--output-format", "default"}, defaults()},
      {{"--warnings-as-errors", "--list-rules"}, with([](Cli& c) { c.warnings_as_errors = c.list_rules = true; })},
      {{"rule", "R001"}, rule("R001")},
      {{"rule", "r001"}, rule("r001")},
      {{"rule", "--", "-x"}, rule("-x")},
      // Options before the subcommand are kept; the subcommand still counts as first positional.
      {{"--select", "R001", "rule", "R002"},
       [] {
         Cli c = rule("R002");
         c.select = std::vector<std::string>{"R001"};
         return c;
       }()},
      {{"--list-rules", "rule", "R001"},
       [] {
         Cli c = rule("R001");
         c.list_rules = true;
         return c;
       }()},
  };
  for (const ParseCase& c : cases) {
    const CliOutcome outcome = parse_command_line(c.args);
    const Cli* cli = std::get_if<Cli>(&outcome);
    ASSERT_NE(cli, nullptr) << args_text(c.args) << "\n" << std::get<CliExit>(outcome).err;
    EXPECT_EQ(*cli, c.expected) << args_text(c.args);
  }
}

struct ExitCase {
  Args args;
  std::string out;
  std::string err;
  int status;
};

void expect_exits(const std::vector<ExitCase>& cases) {
  for (const ExitCase& c : cases) {
    const CliOutcome outcome = parse_command_line(c.args);
    const CliExit* exit = std::get_if<CliExit>(&outcome);
    ASSERT_NE(exit, nullptr) << args_text(c.args);
    EXPECT_EQ(exit->out, c.out) << args_text(c.args);
    EXPECT_EQ(exit->err, c.err) << args_text(c.args);
    EXPECT_EQ(exit->status, c.status) << args_text(c.args);
  }
}

TEST(ParseCommandLine, HelpAndVersionGoToStdoutWithStatusZero) {
  expect_exits({
      {{"--help"}, kMainHelp, "", 0},
      {{"-h"}, kMainHelp, "", 0},
      {{"help"}, kMainHelp, "", 0},
      {{"--diff", "a", "--diff-staged", "b", "--help"}, kMainHelp, "", 0},
      // Help and version act where they stand: an error after them is never reached.
      {{"-h", "--bogus"}, kMainHelp, "", 0},
      {{"-hV"}, kMainHelp, "", 0},
      {{"-Vh"}, "tarn 0.7.0\n", "", 0},
      {{"-V"}, "tarn 0.7.0\n", "", 0},
      {{"--version"}, "tarn 0.7.0\n", "", 0},
      {{"rule", "--help"}, kRuleHelp, "", 0},
      {{"rule", "R001", "-h"}, kRuleHelp, "", 0},
      {{"--select", "x", "rule", "-h"}, kRuleHelp, "", 0},
      {{"help", "rule"}, kRuleHelp, "", 0},
      {{"help", "help"}, kHelpHelp, "", 0},
  });
}

TEST(ParseCommandLine, UsageErrorsGoToStderrWithStatusTwo) {
  const std::string main_usage = kMainUsage;
  const std::string rule_usage = kRuleUsage;
  const std::string try_help = kTryHelp;
  expect_exits({
      {{"--selct"}, "",
       "error: unexpected argument '--selct' found\n\n  tip: a similar argument exists: '--select'" + main_usage +
           try_help,
       2},
      {{"--selct=R001"}, "",
       "error: unexpected argument '--selct' found\n\n  tip: a similar argument exists: '--select'" + main_usage +
           try_help,
       2},
      {{"--warnings-as-error"}, "",
       "error: unexpected argument '--warnings-as-error' found\n\n  tip: a similar argument exists: "
       "'--warnings-as-errors'" +
           main_usage + try_help,
       2},
      {{"--bogus"}, "",
       "error: unexpected argument '--bogus' found\n\n  tip: to pass '--bogus' as a value, use '-- --bogus'" +
           main_usage + try_help,
       2},
      {{"-x"}, "",
       "error: unexpected argument '-x' found\n\n  tip: to pass '-x' as a value, use '-- -x'" + main_usage + try_help,
       2},
      {{"--output-format", "jsn"}, "",
       "error: invalid value 'jsn' for '--output-format <OUTPUT_FORMAT>'\n  [possible values: default, json, "
       "compact]\n\n  tip: a similar value exists: 'json'\n" +
           try_help,
       2},
      {{"--output-format", "JSON"}, "",
       "error: invalid value 'JSON' for '--output-format <OUTPUT_FORMAT>'\n  [possible values: default, json, "
       "compact]\n" +
           try_help,
       2},
      {{"--output-format", std::string("js\xffn")}, "",
       "error: invalid value 'js\xEF\xBF\xBDn' for '--output-format <OUTPUT_FORMAT>'\n  [possible values: default, "
       "json, compact]\n\n  tip: a similar value exists: 'json'\n" +
           try_help,
       2},
      {{"--output-format"}, "",
       "error: a value is required for '--output-format <OUTPUT_FORMAT>' but none was supplied\n  [possible values: "
       "default, json, compact]\n" +
           try_help,
       2},
      {{"--diff", "--select", "R001"}, "",
       "error: a value is required for '--diff <REF>' but none was supplied\n" + try_help, 2},
      {{"--select"}, "", "error: a value is required for '--select <SELECT>' but none was supplied\n" + try_help, 2},
      {{"--diff", "--"}, "", "error: a value is required for '--diff <REF>' but none was supplied\n" + try_help, 2},
      {{"--diff", "-h"}, "", "error: a value is required for '--diff <REF>' but none was supplied\n" + try_help, 2},
      // A word that looks like an option is not a value: when it names no
      // argument, that word is what is reported.
      {{"--diff", "-x"}, "",
       "error: unexpected argument '-x' found\n\n  tip: to pass '-x' as a value, use '-- -x'" + main_usage + try_help,
       2},
      {{"--select", "--ignre", "R001"}, "",
       "error: unexpected argument '--ignre' found\n\n  tip: a similar argument exists: '--ignore'" + main_usage +
           try_help,
       2},
      {{"--diff", "--list-rules=x"}, "",
       "error: unexpected value 'x' for '--list-rules' found; no more were expected" + main_usage + try_help, 2},
      {{"--diff", "main", "--diff-staged", "main"}, "",
       "error: the argument '--diff <REF>' cannot be used with '--diff-staged <REF>'" + main_usage + try_help, 2},
      {{"--diff-staged", "main", "--diff", "main"}, "",
       "error: the argument '--diff-staged <REF>' cannot be used with '--diff <REF>'" + main_usage + try_help, 2},
      {{"--diff", "a", "--diff", "b"}, "",
       "error: the argument '--diff <REF>' cannot be used multiple times" + main_usage + try_help, 2},
      {{"--output-format", "json", "--output-format=json"}, "",
       "error: the argument '--output-format <OUTPUT_FORMAT>' cannot be used multiple times" + main_usage + try_help,
       2},
      {{"--list-rules", "--list-rules"}, "",
       "error: the argument '--list-rules' cannot be used multiple times" + main_usage + try_help, 2},
      {{"--warnings-as-errors=yes"}, "",
       "error: unexpected value 'yes' for '--warnings-as-errors' found; no more were expected" + main_usage + try_help,
       2},
      {{"--help=me"}, "", "error: unexpected value 'me' for '--help' found; no more were expected" + main_usage + try_help,
       2},
      {{"--diff", std::string("\xff")}, "",
       "error: invalid UTF-8 was detected in one or more arguments" + main_usage + try_help, 2},
      {{"--select", std::string("R00\xc3")}, "",
       "error: invalid UTF-8 was detected in one or more arguments" + main_usage + try_help, 2},
      {{"rule"}, "", "error: the following required arguments were not provided:\n  <RULE_ID>" + rule_usage + try_help,
       2},
      {{"rule", "R001", "--select", "x"}, "", "error: unexpected argument '--select' found" + rule_usage + try_help, 2},
      {{"rule", "--select", "x"}, "",
       "error: unexpected argument '--select' found\n\n  tip: to pass '--select' as a value, use '-- --select'" +
           rule_usage + try_help,
       2},
      {{"rule", "R001", "R002"}, "", "error: unexpected argument 'R002' found" + rule_usage + try_help, 2},
      {{"rule", "R001", "-V"}, "", "error: unexpected argument '-V' found" + rule_usage + try_help, 2},
      {{"rule", std::string("R\xff")}, "",
       "error: invalid UTF-8 was detected in one or more arguments" + rule_usage + try_help, 2},
      {{"help", "nosuch"}, "", "error: unrecognized subcommand 'nosuch'" + main_usage + try_help, 2},
      {{"help", "rul"}, "",
       "error: unrecognized subcommand 'rul'\n\n  tip: a similar subcommand exists: 'rule'" + main_usage + try_help, 2},
      {{"help", "rule", "extra"}, "", "error: unrecognized subcommand 'extra'" + rule_usage + try_help, 2},
      // Echoed arguments cannot drive the terminal.
      {{"--\x1b[2J"}, "",
       "error: unexpected argument '--\\x1b[2J' found\n\n  tip: to pass '--\\x1b[2J' as a value, use '-- "
       "--\\x1b[2J'" +
           main_usage + try_help,
       2},
  });
}

TEST(ParseCommandLine, StylesOnlyTheStreamThatAllowsIt) {
  const CliOutcome help = parse_command_line({"rule", "-h"}, CliStyling{true, false});
  const std::string& styled = std::get<CliExit>(help).out;
  EXPECT_NE(styled.find("\x1b[1;4mUsage:\x1b[0m \x1b[1mtarn rule\x1b[0m <RULE_ID>"), std::string::npos) << styled;
  EXPECT_NE(styled.find("  \x1b[1m-h\x1b[0m, \x1b[1m--help\x1b[0m  Print help\n"), std::string::npos) << styled;

  const CliOutcome plain_help = parse_command_line({"rule", "-h"}, CliStyling{false, true});
  EXPECT_EQ(std::get<CliExit>(plain_help).out, kRuleHelp);

  const CliOutcome error = parse_command_line({"--output-format", "jsn"}, CliStyling{false, true});
  EXPECT_EQ(std::get<CliExit>(error).err,
            "\x1b[1;31merror:\x1b[0m invalid value '\x1b[33mjsn\x1b[0m' for '\x1b[1m--output-format "
            "<OUTPUT_FORMAT>\x1b[0m'\n  [possible values: \x1b[32mdefault\x1b[0m, \x1b[32mjson\x1b[0m, "
            "\x1b[32mcompact\x1b[0m]\n\n  \x1b[32mtip:\x1b[0m a similar value exists: '\x1b[32mjson\x1b[0m'\n\nFor "
            "more information, try '\x1b[1m--help\x1b[0m'.\n");
}

TEST(OutputFormat, ValuesAreExactAndInCodeOrder) {
  const auto values = output_format_possible_values();
  ASSERT_EQ(values.size(), 3u);
  for (size_t i = 0; i < values.size(); ++i) {
    EXPECT_EQ(output_format_value_parser(values[i]), static_cast<OutputFormat>(i));
  }
  EXPECT_EQ(output_format_value_parser("Json"), std::nullopt);
  EXPECT_EQ(output_format_value_parser(" json"), std::nullopt);
  EXPECT_EQ(output_format_value_parser(""), std::nullopt);
}

TEST(JaroSimilarity, MatchesKnownValues) {
  struct Case {
    const char* a;
    const char* b;
    double expected;
  };
  const Case cases[] = {
      {"", "", 1.0},
      {"foo", "", 0.0},
      {"", "foo", 0.0},
      {"same", "same", 1.0},
      {"a", "b", 0.0},
      {"ab", "ba", 0.0},  // no match window for one-character shifts in two-character texts
      {"martha", "marhta", 0.944},
      {"dwayne", "duane", 0.822},
      {"dixon", "dicksonx", 0.767},
      {"Friedrich Nietzsche", "Jean-Paul Sartre", 0.392},
      {"jsn", "json", 0.917},
      {"bar", "baz", 0.778},
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
