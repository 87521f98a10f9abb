#include "main/sanitize.h"

#include <gtest/gtest.h>

namespace tarn {
namespace {

TEST(SanitizeForTerminal, ControlCharacters) {
  struct Case {
    std::string in;
    bool escape_newlines;
    std::string out;
  };
  const Case cases[] = {
      {"a\tb\rc\x1b[31m", true, "a\\x09b\\x0dc\\x1b[31m"},
      {"\r\n", false, "\\x0d\n"},
      {std::string("nul\0end", 7), true, "nul\\x00end"},
      {"\xC2\x80\xC2\x85\xC2\x9F", false, "\\x80\\x85\\x9f"},  // C1 controls
      {"\xC2\xA0\xE2\x80\x8B\xC3\xA9\xE2\x80\xAE ~", true, "\xC2\xA0\xE2\x80\x8B\xC3\xA9\xE2\x80\xAE ~"},
  };
  for (const Case& c : cases) EXPECT_EQ(sanitize_for_terminal(c.in, c.escape_newlines), c.out) << c.in;
}

}  // namespace
}  // namespace tarn
