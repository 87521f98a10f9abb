#include "main/sanitize.h"

#include "util/utf8.h"

namespace tarn {

std::string sanitize_for_terminal(std::string_view text, bool escape_newlines) {
  const std::string valid = utf8_lossy(text);
  std::string out;
  out.reserve(valid.size());
  size_t pos = 0;
  while (pos < valid.size()) {
    const size_t start = pos;
    const char32_t cp = decode_utf8(valid, pos);
    const bool control = cp < 0x20 || (cp >= 0x7F && cp <= 0x9F);
    if (control && !(cp == '\n' && !escape_newlines)) {
      static const char hex[] = "0123456789abcdef";
      out += "\\x";
      out += hex[(cp >> 4) & 0xF];
      out += hex[cp & 0xF];
    } else {
      out.append(valid, start, pos - start);
    }
  }
  return out;
}

std::string path_to_string(std::string_view path) { return sanitize_for_terminal(utf8_lossy(path), true); }

}  // namespace tarn
