#include "ast/strings.h"

#include <gtest/gtest.h>

#include "ast/test_support.h"

namespace tarn {
namespace {

using testing::assigned_value;
using testing::parse_source;

struct LiteralCase {
  const char* literal;  // Python source of the right-hand side
  std::string value;    // expected bytes
};

TEST(PythonStringValue, EvaluatesLiteralsLikePython) {
  const LiteralCase cases[] = {
      {R"('\\x41')", "\\x41"},
      {R"('\a\b\f\n\r\t\v')", "\a\b\f\n\r\t\v"},
      // Raw in every spelling of the prefix; other letters change nothing.
      {R"(bR'\x41')", "\\x41"},
      {R"(rf'\n')", "\\n"},
      {R"(B'\x41\n')", "A\n"},
      // Escapes cut short or out of range stay as written.
      {R"('\U00110000')", "\\U00110000"},
      {R"('\u00e')", "\\u00e"},
      {R"('\8')", "\\8"},
      {"'a\\\nb'", "a\\\nb"},
      // Lengths count characters: the two characters after \x here are "é" and "\".
      {R"('\xé\n')", "\\x\xC3\xA9\\n"},
      // At most three octal digits.
      {R"('\1010')", "A0"},
      {R"(f'{x}' 'tail')", "tail"},
      {R"('a\n' r'\n' b'\x41')", "a\n\\nA"},
      // Any other node: its source text.
      {"f(1,  'x')", "f(1,  'x')"},
  };
  for (const LiteralCase& c : cases) {
    const auto parsed = parse_source(std::string("x = ") + c.literal + "\n");
    EXPECT_EQ(python_string_value(parsed.source, assigned_value(parsed)), c.value) << c.literal;
  }
}

TEST(DecodeEscape, TakesTextWithOrWithoutBackslash) {
  const std::pair<std::string, std::string> cases[] = {
      {"n", "\n"},         {"x41", "A"},         {"q", "q"},
      {"", ""},             {"\\", "\\"},         {"\\x411", "\\x411"},
      {"\\101x", "A"},      {"\\udfff", "\\udfff"}, {"\\U0010FFFF", "\xF4\x8F\xBF\xBF"},
      {"\\\n", "\\\n"},
  };
  for (const auto& [escape, value] : cases) EXPECT_EQ(decode_escape(escape), value) << escape;
}

}  // namespace
}  // namespace tarn
