#include "util/unicode_case.h"

#include <gtest/gtest.h>

namespace tarn {
namespace {

TEST(ToLowerUnicode, ScriptsAndFinalSigma) {
  struct Case {
    const char* in;
    const char* out;
  };
  const Case cases[] = {
      {"ÉTÉ ÞORN ÀÖØÞ", "été þorn àöøþ"},        // Latin-1
      {"ĀĒĪŌŪ ŸŹŻŽ ǄǅǇ Ɓ", "āēīōū ÿźżž ǆǆǉ ɓ"},  // Latin Extended, titlecase digraphs
      {"ΑΒΓ ΆΈΉ Ϊ", "αβγ άέή ϊ"},                // Greek
      {"ЖЁЛТЫЙ ЀЏ Ѡ Ґ", "жёлтый ѐџ ѡ ґ"},        // Cyrillic
      {"\xF0\x90\x90\x80", "\xF0\x90\x90\xA8"},  // Deseret (outside the BMP)
      {"İstanbul", "i\xCC\x87stanbul"},          // dotted capital I: two code points
      {"K Å Ω", "k å ω"},                        // Kelvin, Angstrom, Ohm signs
      {"already lower ß ı", "already lower ß ı"}, {"", ""},
      // Sigma is final after a cased letter unless one follows.
      {"ΟΔΟΣ", "οδος"}, {"Σ", "σ"}, {"ΣΑ", "σα"}, {"ΑΣ'Β", "ασ'β"}, {"ΑΣ.", "ας."}, {"ΣΣ", "σς"},
      {"Α\xCC\x81Σ", "α\xCC\x81ς"},
  };
  for (const Case& c : cases) EXPECT_EQ(to_lower_unicode(c.in), c.out) << c.in;
}

TEST(ToLowerUnicode, InvalidUtf8LowersAsciiOnly) {
  EXPECT_EQ(to_lower_unicode("AB\xFF\xC3\x89"), "ab\xFF\xC3\x89");
  EXPECT_NE(to_lower_unicode("A\xFF"), to_lower_unicode("A\xFE"));
}

}  // namespace
}  // namespace tarn
