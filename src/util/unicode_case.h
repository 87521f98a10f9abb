// Unicode lower-casing without a Unicode library.
#pragma once

#include <string>
#include <string_view>

namespace tarn {

// Full lower-case mapping of UTF-8 text: every simple mapping of the Unicode
// data, U+0130 to "i" + U+0307, and a capital sigma that ends a word to the
// final form U+03C2. Text that is not valid UTF-8 has only its ASCII letters
// lowered, so distinct byte strings stay distinct.
std::string to_lower_unicode(std::string_view text);

}  // namespace tarn
