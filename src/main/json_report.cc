#include "main/json_report.h"

#include <exception>

#include "util/utf8.h"

namespace tarn {

namespace {

// The escaping of the JSON library's dump: quote, backslash and control
// characters escaped, everything else written as it is; invalid UTF-8 is
// replaced first so the document is always valid.
void append_json_string(std::string& out, std::string_view raw) {
  static const char hex[] = "0123456789abcdef";
  const std::string lossy = is_valid_utf8(raw) ? std::string() : utf8_lossy(raw);
  const std::string_view text = lossy.empty() ? raw : std::string_view(lossy);
  out += '"';
  for (const char ch : text) {
    const auto c = static_cast<unsigned char>(ch);
    switch (c) {
      case '"': out += "\\\""; break;
      case '\\': out += "\\\\"; break;
      case '\b': out += "\\b"; break;
      case '\f': out += "\\f"; break;
      case '\n': out += "\\n"; break;
      case '\r': out += "\\r"; break;
      case '\t': out += "\\t"; break;
      default:
        if (c < 0x20) {
          out += "\\u00";
          out += hex[c >> 4];
          out += hex[c & 0xF];
        } else {
          out += ch;
        }
    }
  }
  out += '"';
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
