// Letter-case mapping without a Unicode library.
#pragma once

#include <string>
#include <string_view>

namespace tarn {

// Full lower-case mapping of UTF-8 text: every simple mapping of the Unicode
// data, U+0130 to "i" + U+0307, and a capital sigma that ends a word to the
// final form U+03C2. Text that is not valid UTF-8 has only its ASCII letters
// lowered, so distinct byte strings stay distinct.
std::string to_lower_unicode(std::string_view text);

// ASCII letters upper-cased, every other byte kept: for SQL keywords and rule
// ids, which are compared ASCII case-insensitively.
inline char ascii_upper(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }
inline std::string ascii_upper(std::string_view text) {
  std::string out(text);
  for (char& c : out) c = ascii_upper(c);
  return out;
}

}  // namespace tarn
