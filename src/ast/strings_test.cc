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
      {R"('abc')", "abc"},
      {R"("a\tb")", "a\tb"},
      {R"('a\\b')", "a\\b"},
      {R"('\\x41')", "\\x41"},
      {R"('it\'s \"q\"')", "it's \"q\""},
      {R"('\a\b\f\n\r\t\v')", "\a\b\f\n\r\t\v"},
      // Raw in every spelling of the prefix; other letters change nothing.
      {R"(r'\d+\n')", "\\d+\\n"},
      {R"(Rb'\d')", "\\d"},
      {R"(bR'\x41')", "\\x41"},
      {R"(rf'\n')", "\\n"},
      {R"(FR'\t')", "\\t"},
      {R"(U'\n')", "\n"},
      {R"(B'\x41\n')", "A\n"},
      // Hexadecimal and Unicode escapes.
      {R"('\x41')", "A"},
      {R"('\u00e9')", "\xC3\xA9"},
      {R"('\U0001F600')", "\xF0\x9F\x98\x80"},
      {R"('\ud800')", "\\ud800"},
      {R"('\U00110000')", "\\U00110000"},
      {R"('\x4g')", "\\x4g"},
      {R"('\u00e')", "\\u00e"},
      {R"(b'\xff')", "\xC3\xBF"},
      // Lengths count characters: the two characters after \x here are "é" and "\".
      {R"('\xé\n')", "\\x\xC3\xA9\\n"},
      // Octal escapes: at most three digits, value up to 0o777.
      {R"('\101')", "A"},
      {R"('\0')", std::string(1, '\0')},
      {R"('\18')", "\x01" "8"},
      {R"('\777')", "\xC7\xBF"},
      {R"('\1010')", "A0"},
      // Unknown and named escapes stay as written.
      {R"('\q')", "\\q"},
      {R"('\N{EM DASH}')", "\\N{EM DASH}"},
      {R"('\8')", "\\8"},
      {"'a\\\nb'", "a\\\nb"},
      {R"('''one
two''')", "one\ntwo"},
      // f-strings: plain ones are literals, a replacement field empties the literal.
      {R"(f'plain\n')", "plain\n"},
      {R"(f'select {col}')", ""},
      {R"(f'{x}' 'tail')", "tail"},
      {R"('a' f'{x}' 'b')", "ab"},
      // Implicit concatenation, also across a comment.
      {R"('abc' 'def')", "abcdef"},
      {"('abc'  # first half\n 'def')", "abcdef"},
      {R"('a\n' r'\n' b'\x41')", "a\n\\nA"},
      // Any other node: its source text.
      {"SQL", "SQL"},
      {"None", "None"},
      {"f(1,  'x')", "f(1,  'x')"},
      {"42", "42"},
  };
  for (const LiteralCase& c : cases) {
    const auto parsed = parse_source(std::string("x = ") + c.literal + "\n");
    EXPECT_EQ(python_string_value(parsed.source, assigned_value(parsed)), c.value) << c.literal;
  }
}

TEST(DecodeEscape, TakesTextWithOrWithoutBackslash) {
  const std::pair<std::string, std::string> cases[] = {
      {"\\n", "\n"}, {"n", "\n"},         {"\\\\", "\\"},     {"\\'", "'"},       {"x41", "A"},
      {"\\x41", "A"}, {"\\u00E9", "\xC3\xA9"}, {"\\101x", "A"}, {"\\x4", "\\x4"},   {"\\x411", "\\x411"},
      {"\\q", "\\q"}, {"q", "q"},         {"", ""},           {"\\", "\\"},       {"\\N{DASH}", "\\N{DASH}"},
      {"\\udfff", "\\udfff"},             {"\\U0010FFFF", "\xF4\x8F\xBF\xBF"},    {"\\\n", "\\\n"},
  };
  for (const auto& [escape, value] : cases) EXPECT_EQ(decode_escape(escape), value) << escape;
}

}  // namespace
}  // namespace tarn
