// UTF-8 helpers shared by every subsystem.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace tarn {

bool is_valid_utf8(std::string_view bytes);

// Byte offset of the first invalid sequence, or npos when the text is valid.
size_t first_invalid_utf8(std::string_view bytes);

// At the start of an invalid sequence (as found by first_invalid_utf8): its
// length (1 to 3), or 0 when the text ends inside a sequence that could still
// have been valid.
size_t utf8_error_length(std::string_view bytes, size_t pos);

// The text with every invalid sequence replaced by U+FFFD (maximal-subpart rule).
std::string utf8_lossy(std::string_view bytes);

// Decodes one code point of valid UTF-8 at `pos`, advancing it.
char32_t decode_utf8(std::string_view text, size_t& pos);

// The code point at `pos` of any text, advancing `pos` past it; an invalid
// sequence (as utf8_lossy replaces it) reads as U+FFFD.
char32_t next_code_point(std::string_view bytes, size_t& pos);

// The code points of a text, each invalid sequence read as U+FFFD.
std::u32string utf8_code_points(std::string_view bytes);

void append_utf8(std::string& out, char32_t cp);

// A code point that UTF-8 may hold: at most U+10FFFF and not a surrogate.
bool is_unicode_scalar(char32_t cp);

// The value of an ASCII hexadecimal digit, or -1.
int hex_digit_value(char c);

// Unicode White_Space.
bool is_unicode_space(char32_t cp);

// Removes Unicode White_Space from both ends of valid UTF-8 text.
std::string_view trim_unicode(std::string_view text);
std::string_view trim_unicode_start(std::string_view text);
std::string_view trim_unicode_end(std::string_view text);

}  // namespace tarn
