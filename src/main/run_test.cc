#include "main/run.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace tarn {
namespace {

// The rule table takes no input: every path but the default "." and every
// linting flag is refused before anything is read or printed.
TEST(Run, ListRulesRefusedWithPathsOrLintingFlags) {
  const std::vector<std::vector<std::string>> command_lines = {
      {"--list-rules", "--diff", "main"},
      {"--list-rules", "--ignore", "R001"},
      {"--list-rules", "--warnings-as-errors"},
  };
  for (const auto& args : command_lines) {
    std::string line;
    for (const auto& word : args) line += word + " ";
    SCOPED_TRACE(line);
    const CliOutcome parsed = parse_command_line(args);
    ASSERT_TRUE(std::holds_alternative<Cli>(parsed));
    const auto status = run(std::get<Cli>(parsed));
    ASSERT_FALSE(status.ok());
    EXPECT_EQ(status.error().message(), "CLI usage error: --list-rules cannot be combined with paths or linting flags");
  }
}

}  // namespace
}  // namespace tarn
