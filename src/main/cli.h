// The command line of tarn: its parser, and the help, usage and error texts.
#pragma once

#include <cstdint>
#include <optional>
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

// Where escape sequences may be used: help and version go to standard output,
// errors to standard error.
struct CliStyling {
  bool stdout_styled = false;
  bool stderr_styled = false;
};

// Per stream, the colour decision with a dumb terminal (TERM=dumb) counted as
// no terminal.
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
