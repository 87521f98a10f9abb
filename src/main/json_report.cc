#include "main/json_report.h"

#include <array>
#include <cstdint>
#include <cstring>

#include "util/utf8.h"

namespace tarn {

namespace {

// What the escaping loop must do with each byte: copy it (most bytes), note
// that it is not ASCII, or escape it.
enum class ByteClass : uint8_t { Plain, NonAscii, Escaped };

constexpr std::array<ByteClass, 256> kByteClasses = [] {
  std::array<ByteClass, 256> classes{};
  for (size_t c = 0; c < classes.size(); ++c) {
    if (c < 0x20 || c == '"' || c == '\\') {
      classes[c] = ByteClass::Escaped;
    } else if (c >= 0x80) {
      classes[c] = ByteClass::NonAscii;
    }
  }
  return classes;
}();

// Whether none of the eight bytes at `p` is a control character, '"', '\\'
// or a byte above ASCII: messages are mostly such runs.
bool all_plain(const char* p) {
  constexpr uint64_t kOnes = 0x0101010101010101u, kHighs = 0x8080808080808080u;
  uint64_t word;
  std::memcpy(&word, p, sizeof word);
  const auto has_zero = [](uint64_t v) { return (v - kOnes) & ~v & kHighs; };
  const uint64_t below_space = (word - kOnes * 0x20) & ~word & kHighs;
  return ((word & kHighs) | below_space | has_zero(word ^ (kOnes * '"')) | has_zero(word ^ (kOnes * '\\'))) == 0;
}

// Writes `text` quoted, with the escaping of the JSON library's dump: quote,
// backslash and control characters escaped, everything else as it is. Runs of
// plain bytes are copied whole. Returns whether any byte was not ASCII.
bool append_quoted(std::string& out, std::string_view text) {
  static const char hex[] = "0123456789abcdef";
  bool non_ascii = false;
  out += '"';
  size_t plain = 0;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text.size() - i >= 8 && all_plain(text.data() + i)) {
      i += 7;  // and the loop's step makes eight
      continue;
    }
    const auto c = static_cast<unsigned char>(text[i]);
    const ByteClass kind = kByteClasses[c];
    if (kind == ByteClass::Plain) continue;
    if (kind == ByteClass::NonAscii) {
      non_ascii = true;
      continue;
    }
    out.append(text.substr(plain, i - plain));
    plain = i + 1;
    switch (c) {
      case '"': out += "\\\""; break;
      case '\\': out += "\\\\"; break;
      case '\b': out += "\\b"; break;
      case '\f': out += "\\f"; break;
      case '\n': out += "\\n"; break;
      case '\r': out += "\\r"; break;
      case '\t': out += "\\t"; break;
      default:
        out += "\\u00";
        out += hex[c >> 4];
        out += hex[c & 0xF];
    }
  }
  out.append(text.substr(plain));
  out += '"';
  return non_ascii;
}

// Invalid UTF-8 is replaced first so the document is always valid; only text
// with a non-ASCII byte can be invalid, so most strings are read once.
void append_json_string(std::string& out, std::string_view raw) {
  const size_t start = out.size();
  if (append_quoted(out, raw) && !is_valid_utf8(raw)) {
    out.resize(start);
    append_quoted(out, utf8_lossy(raw));
  }
}

void append_member(std::string& out, std::string_view key, std::string_view value, bool last = false) {
  out += "      \"";
  out += key;
  out += "\": ";
  append_json_string(out, value);
  out += last ? "\n" : ",\n";
}

void append_number(std::string& out, std::string_view indent, std::string_view key, uint64_t value, bool last) {
  out += indent;
  out += '"';
  out += key;
  out += "\": ";
  out += std::to_string(value);
  out += last ? "\n" : ",\n";
}

}  // namespace

void append_json_diagnostic(std::string& out, const Diagnostic& d, bool first) {
  out += first ? "{\n  \"diagnostics\": [\n    {\n" : ",\n    {\n";
  append_member(out, "rule_id", d.rule_id);
  append_member(out, "rule_name", d.rule_name);
  append_member(out, "message", d.message);
  append_member(out, "severity", severity_word(d.severity));
  append_member(out, "path", d.path);
  append_number(out, "      ", "line", d.span.start_line, false);
  append_number(out, "      ", "column", d.span.start_column, false);
  if (d.help) {
    append_member(out, "help", *d.help, true);
  } else {
    out += "      \"help\": null\n";
  }
  out += "    }";
}

void append_json_end(std::string& out, size_t total, size_t errors) {
  out += total == 0 ? "{\n  \"diagnostics\": [],\n" : "\n  ],\n";
  out += "  \"summary\": {\n";
  append_number(out, "    ", "total", total, false);
  append_number(out, "    ", "errors", errors, false);
  append_number(out, "    ", "warnings", total - errors, true);
  out += "  }\n}\n";
}

}  // namespace tarn
