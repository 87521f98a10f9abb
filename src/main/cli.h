// The command line of tarn: one declarative table of the arguments, a parser
// for it, and the help, usage and error texts generated from the same table.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "main/output_format.h"

namespace tarn {


// The one subcommand.
struct Commands {
  struct Rule {
    std::string rule_id;
    bool operator==(const Rule&) const = default;
  };
  std::variant<Rule> value;
  bool operator==(const Commands&) const = default;
};

// The parsed command line.
struct Cli {
  std::optional<Commands> command;
  // Never empty: "." when no path is given. Raw bytes, not necessarily UTF-8.
  std::vector<std::string> paths;
  std::optional<std::string> diff;
  std::optional<std::string> diff_staged;
  OutputFormat output_format = OutputFormat::Default;
  // Absent when the option is not given; otherwise the comma-separated pieces
  // of every occurrence, in command-line order, untrimmed.
  std::optional<std::vector<std::string>> select;
  std::optional<std::vector<std::string>> ignore;
  bool warnings_as_errors = false;
  bool list_rules = false;
  bool operator==(const Cli&) const = default;
};

// "default", "json", "compact": the names of the OutputFormat codes, in code order.
std::span<const std::string_view> output_format_possible_values();

// Exact, case-sensitive match against the possible values.
std::optional<OutputFormat> output_format_value_parser(std::string_view value);

// ---- The declarative definition ------------------------------------------

enum class ArgKind : uint8_t { Positional, Option, Flag, Help, Version };

// One argument. Built with the constexpr helpers below and their with_* setters.
struct ArgDef {
  std::string_view id;
  ArgKind kind = ArgKind::Flag;
  char short_name = '\0';  // '\0' when there is none; only the built-in flags have one
  std::string_view long_name;     // without the leading "--"; empty for positionals
  std::string_view value_name;    // empty for flags
  std::string_view help;
  std::string_view default_value;  // shown in help; empty when there is none
  std::span<const std::string_view> possible_values;
  bool repeatable = false;  // options: several occurrences; positionals: several values
  bool split_commas = false;
  bool required = false;
  bool raw_bytes = false;  // the value need not be UTF-8
  std::string_view conflicts_with;  // id of an argument that may not be given together

  constexpr ArgDef with_default(std::string_view v) const { ArgDef a = *this; a.default_value = v; return a; }
  constexpr ArgDef with_possible_values(std::span<const std::string_view> v) const {
    ArgDef a = *this;
    a.possible_values = v;
    return a;
  }
  constexpr ArgDef repeated() const { ArgDef a = *this; a.repeatable = true; return a; }
  constexpr ArgDef comma_separated() const { ArgDef a = *this; a.split_commas = true; return a; }
  constexpr ArgDef mandatory() const { ArgDef a = *this; a.required = true; return a; }
  constexpr ArgDef bytes() const { ArgDef a = *this; a.raw_bytes = true; return a; }
  constexpr ArgDef conflicting_with(std::string_view other) const {
    ArgDef a = *this;
    a.conflicts_with = other;
    return a;
  }
};

constexpr ArgDef make_arg(std::string_view id, ArgKind kind, std::string_view long_name, std::string_view value_name,
                          std::string_view help) {
  ArgDef a;
  a.id = id;
  a.kind = kind;
  a.long_name = long_name;
  a.value_name = value_name;
  a.help = help;
  return a;
}
constexpr ArgDef positional_arg(std::string_view id, std::string_view value_name, std::string_view help) {
  return make_arg(id, ArgKind::Positional, {}, value_name, help);
}
constexpr ArgDef option_arg(std::string_view id, std::string_view long_name, std::string_view value_name,
                            std::string_view help) {
  return make_arg(id, ArgKind::Option, long_name, value_name, help);
}
constexpr ArgDef flag_arg(std::string_view id, std::string_view long_name, std::string_view help) {
  return make_arg(id, ArgKind::Flag, long_name, {}, help);
}

struct CommandDef {
  std::string_view name;
  std::string_view about;
  std::string_view version;  // empty: no -V/--version
  std::span<const ArgDef> args;
  std::span<const CommandDef> subcommands;  // a `help` subcommand is implied when not empty
  bool help_flag = true;                    // -h/--help
};

// The complete definition of the `tarn` command.
const CommandDef& cli_command();

// ---- Parsing ---------------------------------------------------------------

// Where escape sequences may be used: help and version go to standard output,
// errors to standard error.
struct CliStyling {
  bool stdout_styled = false;
  bool stderr_styled = false;
};

// Styling per stream: CLICOLOR_FORCE (not "0") forces it; NO_COLOR, CLICOLOR=0
// and TERM=dumb turn it off; otherwise on when the stream is a terminal.
CliStyling detect_cli_styling();

// The process should end now: help, version or a usage error.
struct CliExit {
  std::string out;
  std::string err;
  uint8_t status = 0;
  bool operator==(const CliExit&) const = default;
};

using CliOutcome = std::variant<Cli, CliExit>;

// Parses the arguments that follow the program name.
CliOutcome parse_command_line(const std::vector<std::string>& args, CliStyling styling = {});

// Jaro similarity of two UTF-8 texts over their code points (1 when equal,
// 0 when nothing matches); the did-you-mean tips need it above 0.7.
double jaro_similarity(std::string_view a, std::string_view b);

}  // namespace tarn
