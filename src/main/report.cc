#include "main/report.h"

#include <algorithm>
#include <tuple>

#include "main/color.h"
#include "main/json_report.h"
#include "main/sanitize.h"
#include "util/path.h"

namespace tarn {

namespace {

std::string counted(size_t count, std::string_view word) {
  std::string text = std::to_string(count) + " " + std::string(word);
  if (count != 1) text += 's';
  return text;
}

std::string summary_line(size_t errors, size_t warnings, bool color) {
  std::string line;
  if (errors > 0) line += style(counted(errors, "error"), Color::Red, false, color);
  if (warnings > 0) {
    if (!line.empty()) line += ", ";
    line += style(counted(warnings, "warning"), Color::Yellow, false, color);
  }
  return line + "\n";
}

void append_default(std::string& out, const Diagnostic& d, bool color) {
  const bool error = d.severity == Severity::Error;
  out += style(severity_word(d.severity), error ? Color::Red : Color::Yellow, true, color);
  out += ": " + sanitize_for_terminal(d.message, true) + " [";
  out += style(d.rule_id, Color::Cyan, false, color) + " " + style(d.rule_name, Color::Cyan, false, color) + "]\n";
  out += "  " + style("-->", Color::Blue, false, color) + " " + path_to_string(d.path) + ":" +
         std::to_string(d.span.start_line) + "\n";
  if (d.help) {
    out += "  " + style("help:", Color::Green, false, color) + " " + sanitize_for_terminal(*d.help, false) + "\n";
  }
  out += "\n";
}

void append_compact(std::string& out, const Diagnostic& d) {
  out += path_to_string(d.path) + ":" + std::to_string(d.span.start_line) + ": ";
  out += d.severity == Severity::Error ? "E" : "W";
  out += ": [" + std::string(d.rule_id) + " " + std::string(d.rule_name) + "] " +
         sanitize_for_terminal(d.message, true) + "\n";
  if (d.help) out += "  help: " + sanitize_for_terminal(*d.help, false) + "\n";
}

}  // namespace

void sort_diagnostics(std::vector<Diagnostic>& diagnostics) {
  std::stable_sort(diagnostics.begin(), diagnostics.end(), [](const Diagnostic& a, const Diagnostic& b) {
    if (const int by_path = compare_paths(a.path, b.path); by_path != 0) return by_path < 0;
    return std::tie(a.span.start_line, a.span.start_column, a.rule_id) <
           std::tie(b.span.start_line, b.span.start_column, b.rule_id);
  });
}

ReportPrinter::ReportPrinter(OutputFormat format, bool color, Sink sink)
    : format_(format), color_(color), sink_(std::move(sink)) {}

void ReportPrinter::add(const std::vector<Diagnostic>& batch) {
  if (batch.empty()) return;
  std::string out = std::move(open_line_);
  for (const Diagnostic& d : batch) {
    switch (format_) {
      case OutputFormat::Default: append_default(out, d, color_); break;
      case OutputFormat::Compact: append_compact(out, d); break;
      case OutputFormat::Json: append_json_diagnostic(out, d, total_ == 0); break;
    }
    ++total_;
    errors_ += d.severity == Severity::Error;
  }
  // A json finding ends with its closing brace; the comma or the end of the
  // list that follows it on the same line comes with the next part.
  const size_t line_end = out.rfind('\n') + 1;
  open_line_.assign(out, line_end);
  out.resize(line_end);
  sink_(out);
}

void ReportPrinter::finish() {
  std::string out = std::move(open_line_);
  if (format_ == OutputFormat::Json) {
    append_json_end(out, total_, errors_);
  } else if (format_ == OutputFormat::Default && total_ > 0) {
    out += summary_line(errors_, total_ - errors_, color_);
  }
  sink_(out);
}

}  // namespace tarn
