#include "util/utf8.h"

#include <cstring>

namespace tarn {

namespace {
// Length of the valid sequence at `i`, or the length of the maximal invalid
// prefix negated (at least 1) when the sequence is not valid.
long sequence_at(std::string_view s, size_t i) {
  const auto b = [&](size_t k) { return static_cast<unsigned char>(s[k]); };
  const unsigned char c = b(i);
  if (c < 0x80) return 1;
  size_t need;
  unsigned char lo = 0x80, hi = 0xBF;
  if (c >= 0xC2 && c <= 0xDF) {
    need = 1;
  } else if (c == 0xE0) {
    need = 2, lo = 0xA0;
  } else if ((c >= 0xE1 && c <= 0xEC) || c == 0xEE || c == 0xEF) {
    need = 2;
  } else if (c == 0xED) {
    need = 2, hi = 0x9F;
  } else if (c == 0xF0) {
    need = 3, lo = 0x90;
  } else if (c >= 0xF1 && c <= 0xF3) {
    need = 3;
  } else if (c == 0xF4) {
    need = 3, hi = 0x8F;
  } else {
    return -1;
  }
  for (size_t k = 1; k <= need; ++k) {
    if (i + k >= s.size()) return -static_cast<long>(k);
    const unsigned char d = b(i + k);
    const unsigned char l = k == 1 ? lo : 0x80, h = k == 1 ? hi : 0xBF;
    if (d < l || d > h) return -static_cast<long>(k);
  }
  return static_cast<long>(need + 1);
}
}  // namespace

size_t first_invalid_utf8(std::string_view bytes) {
  size_t i = 0;
  while (i < bytes.size()) {
    // Most text is ASCII: eight bytes without a high bit are skipped at once.
    if (bytes.size() - i >= 8) {
      uint64_t word;
      std::memcpy(&word, bytes.data() + i, sizeof word);
      if ((word & 0x8080808080808080u) == 0) {
        i += 8;
        continue;
      }
    }
    if (static_cast<unsigned char>(bytes[i]) < 0x80) {
      ++i;
      continue;
    }
    const long n = sequence_at(bytes, i);
    if (n < 0) return i;
    i += static_cast<size_t>(n);
  }
  return std::string_view::npos;
}

size_t utf8_error_length(std::string_view bytes, size_t pos) {
  if (pos >= bytes.size()) return 0;
  const long n = sequence_at(bytes, pos);
  if (n > 0) return 0;
  const auto len = static_cast<size_t>(-n);
  const unsigned char lead = static_cast<unsigned char>(bytes[pos]);
  const bool lead_ok = lead >= 0xC2 && lead <= 0xF4;
  return lead_ok && pos + len >= bytes.size() ? 0 : len;
}

bool is_valid_utf8(std::string_view bytes) { return first_invalid_utf8(bytes) == std::string_view::npos; }

std::string utf8_lossy(std::string_view bytes) {
  if (is_valid_utf8(bytes)) return std::string(bytes);
  std::string out;
  out.reserve(bytes.size() + 8);
  size_t i = 0;
  while (i < bytes.size()) {
    const long n = sequence_at(bytes, i);
    if (n > 0) {
      out.append(bytes.substr(i, static_cast<size_t>(n)));
      i += static_cast<size_t>(n);
    } else {
      out += "\xEF\xBF\xBD";
      i += static_cast<size_t>(-n);
    }
  }
  return out;
}

char32_t decode_utf8(std::string_view text, size_t& pos) {
  const auto b = [&](size_t k) { return static_cast<unsigned char>(text[k]); };
  const unsigned char c = b(pos);
  if (c < 0x80) {
    ++pos;
    return c;
  }
  size_t n = c >= 0xF0 ? 4 : c >= 0xE0 ? 3 : 2;
  if (pos + n > text.size()) n = text.size() - pos;
  char32_t cp = n == 4 ? (c & 0x07) : n == 3 ? (c & 0x0F) : (c & 0x1F);
  for (size_t k = 1; k < n; ++k) cp = (cp << 6) | (b(pos + k) & 0x3F);
  pos += n;
  return cp;
}

char32_t next_code_point(std::string_view bytes, size_t& pos) {
  if (static_cast<unsigned char>(bytes[pos]) < 0x80) return static_cast<unsigned char>(bytes[pos++]);
  const long n = sequence_at(bytes, pos);
  if (n < 0) {
    pos += static_cast<size_t>(-n);
    return U'\uFFFD';
  }
  return decode_utf8(bytes, pos);
}

std::u32string utf8_code_points(std::string_view bytes) {
  std::u32string out;
  out.reserve(bytes.size());
  size_t pos = 0;
  while (pos < bytes.size()) out.push_back(next_code_point(bytes, pos));
  return out;
}

void append_utf8(std::string& out, char32_t cp) {
  if (cp < 0x80) {
    out += static_cast<char>(cp);
  } else if (cp < 0x800) {
    out += static_cast<char>(0xC0 | (cp >> 6));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else if (cp < 0x10000) {
    out += static_cast<char>(0xE0 | (cp >> 12));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (cp >> 18));
    out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  }
}

bool is_unicode_space(char32_t cp) {
  return (cp >= 0x09 && cp <= 0x0D) || cp == 0x20 || cp == 0x85 || cp == 0xA0 || cp == 0x1680 ||
         (cp >= 0x2000 && cp <= 0x200A) || cp == 0x2028 || cp == 0x2029 || cp == 0x202F ||
         cp == 0x205F || cp == 0x3000;
}

std::string_view trim_unicode_start(std::string_view text) {
  size_t pos = 0;
  while (pos < text.size()) {
    size_t next = pos;
    if (!is_unicode_space(decode_utf8(text, next))) break;
    pos = next;
  }
  return text.substr(pos);
}

std::string_view trim_unicode_end(std::string_view text) {
  // Walk forward remembering the end of the last non-space character.
  size_t pos = 0, end = 0;
  while (pos < text.size()) {
    const char32_t cp = decode_utf8(text, pos);
    if (!is_unicode_space(cp)) end = pos;
  }
  return text.substr(0, end);
}

std::string_view trim_unicode(std::string_view text) { return trim_unicode_end(trim_unicode_start(text)); }

bool is_unicode_scalar(char32_t cp) { return cp <= 0x10FFFF && !(cp >= 0xD800 && cp <= 0xDFFF); }

int hex_digit_value(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

}  // namespace tarn
