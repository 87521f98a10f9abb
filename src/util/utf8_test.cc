#include "util/utf8.h"

#include <gtest/gtest.h>

namespace tarn {
namespace {

TEST(Utf8, ValidityAndFirstInvalidSequence) {
  EXPECT_TRUE(is_valid_utf8("plain \xC3\xA9 \xF0\x9F\x98\x80"));
  struct Case {
    std::string text;
    size_t at;
    size_t length;  // 0: the text ends inside a sequence
  };
  const Case invalid[] = {
      {"ab\xff", 2, 1},            // never a lead byte
      {"ab\xC0", 2, 1},            // nor at the end
      {"\xC0\x80", 0, 1},          // overlong
      {"x\xED\xA0\x80", 1, 1},     // surrogate
      {"\xF4\x90\x80\x80", 0, 1},  // above U+10FFFF
      {"a\xE2\x82" "A", 1, 2},
      {"ab\xF0\x90\x80" "Z", 2, 3},
      {"\xC3\xA9\xF0\x9F", 2, 0},
  };
  for (const auto& c : invalid) {
    EXPECT_EQ(first_invalid_utf8(c.text), c.at) << c.text;
    EXPECT_EQ(utf8_error_length(c.text, c.at), c.length) << c.text;
  }
  // ASCII is skipped eight bytes at a time: an error is found at any offset,
  // also when a valid sequence straddles two such words.
  for (size_t at = 0; at <= 17; ++at) {
    const std::string ascii(at, 'x');
    EXPECT_EQ(first_invalid_utf8(ascii + "\xff" + std::string(9, 'y')), at);
    EXPECT_TRUE(is_valid_utf8(ascii + "\xF0\x9F\x98\x80" + std::string(9, 'y')));
    EXPECT_EQ(first_invalid_utf8(ascii + "\xE2\x82"), at);
  }
}

TEST(Utf8, LossyReplacesMaximalSubparts) {
  EXPECT_EQ(utf8_lossy("a\xffz"), "a\xEF\xBF\xBDz");
  // A truncated three-byte sequence is one replacement, not two.
  EXPECT_EQ(utf8_lossy("\xE2\x82z"), "\xEF\xBF\xBDz");
  EXPECT_EQ(utf8_lossy("\xC3\xA9"), "\xC3\xA9");
}

}  // namespace
}  // namespace tarn
