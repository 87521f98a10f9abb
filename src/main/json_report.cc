#include "main/json_report.h"

#include <exception>
#include <functional>

#include "main/color.h"
#include "main/output.h"
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

// Writes the document piece by piece so a large report is never held twice
// in memory; `sink` receives consecutive chunks.
void stream_json_report(const std::vector<Diagnostic>& diagnostics, const std::function<void(std::string&)>& sink) {
  constexpr size_t kChunk = 1 << 16;
  std::string out = "{\n  \"diagnostics\": [";
  size_t errors = 0;
  for (size_t i = 0; i < diagnostics.size(); ++i) {
    const Diagnostic& d = diagnostics[i];
    if (d.severity == Severity::Error) ++errors;
    out += i == 0 ? "\n    {\n" : ",\n    {\n";
    append_member(out, "rule_id", d.rule_id);
    append_member(out, "rule_name", d.rule_name);
    append_member(out, "message", d.message);
    append_member(out, "severity", severity_word(d.severity));
    append_member(out, "path", utf8_lossy(d.path));
    append_number(out, "      ", "line", d.span.start_line, false);
    append_number(out, "      ", "column", d.span.start_column, false);
    if (d.help) {
      append_member(out, "help", *d.help, true);
    } else {
      out += "      \"help\": null\n";
    }
    out += "    }";
    if (out.size() >= kChunk) {
      sink(out);
      out.clear();
    }
  }
  out += diagnostics.empty() ? "],\n" : "\n  ],\n";
  out += "  \"summary\": {\n";
  append_number(out, "    ", "total", diagnostics.size(), false);
  append_number(out, "    ", "errors", errors, false);
  append_number(out, "    ", "warnings", diagnostics.size() - errors, true);
  out += "  }\n}\n";
  sink(out);
}

}  // namespace

std::optional<std::string> render_json_report(const std::vector<Diagnostic>& diagnostics, std::string& error) {
  try {
    std::string text;
    stream_json_report(diagnostics, [&](std::string& chunk) { text += chunk; });
    return text;
  } catch (const std::exception& e) {
    error = e.what();
    return std::nullopt;
  }
}

void print_json_report(const std::vector<Diagnostic>& diagnostics) {
  try {
    stream_json_report(diagnostics, [](std::string& chunk) { write_stdout(chunk); });
  } catch (const std::exception& e) {
    write_stderr(style("error", Color::Red, true) + ": Failed to serialize JSON output: " + e.what() + "\n");
  }
}

}  // namespace tarn
