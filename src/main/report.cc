#include "main/report.h"

#include <algorithm>
#include <tuple>

#include "main/color.h"
#include "main/json_report.h"
#include "main/output.h"
#include "main/sanitize.h"
#include "util/path.h"

namespace tarn {

namespace {

std::string counted(size_t count, std::string_view word) {
  std::string text = std::to_string(count) + " " + std::string(word);
  if (count != 1) text += 's';
  return text;
}

std::string summary_line(const std::vector<Diagnostic>& diagnostics, bool color) {
  const size_t errors = static_cast<size_t>(std::count_if(
      diagnostics.begin(), diagnostics.end(), [](const Diagnostic& d) { return d.severity == Severity::Error; }));
  const size_t warnings = diagnostics.size() - errors;
  std::string line;
  if (errors > 0) line += style(counted(errors, "error"), Color::Red, false, color);
  if (warnings > 0) {
    if (!line.empty()) line += ", ";
    line += style(counted(warnings, "warning"), Color::Yellow, false, color);
  }
  return line + "\n";
}

}  // namespace

void sort_diagnostics(std::vector<Diagnostic>& diagnostics) {
  std::stable_sort(diagnostics.begin(), diagnostics.end(), [](const Diagnostic& a, const Diagnostic& b) {
    if (const int by_path = compare_paths(a.path, b.path); by_path != 0) return by_path < 0;
    return std::tie(a.span.start_line, a.span.start_column, a.rule_id) <
           std::tie(b.span.start_line, b.span.start_column, b.rule_id);
  });
}

std::string render_default(const std::vector<Diagnostic>& diagnostics, bool color) {
  if (diagnostics.empty()) return {};
  std::string out;
  for (const Diagnostic& d : diagnostics) {
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
  return out + summary_line(diagnostics, color);
}

std::string render_compact(const std::vector<Diagnostic>& diagnostics) {
  std::string out;
  for (const Diagnostic& d : diagnostics) {
    out += path_to_string(d.path) + ":" + std::to_string(d.span.start_line) + ": ";
    out += d.severity == Severity::Error ? "E" : "W";
    out += ": [" + std::string(d.rule_id) + " " + std::string(d.rule_name) + "] " +
           sanitize_for_terminal(d.message, true) + "\n";
    if (d.help) out += "  help: " + sanitize_for_terminal(*d.help, false) + "\n";
  }
  return out;
}

void print_diagnostics(const std::vector<Diagnostic>& diagnostics, OutputFormat format) {
  switch (format) {
    case OutputFormat::Json:
      print_json_report(diagnostics);
      return;
    case OutputFormat::Compact:
      write_stdout(render_compact(diagnostics));
      return;
    case OutputFormat::Default:
      write_stdout(render_default(diagnostics, color_enabled()));
      return;
  }
}

}  // namespace tarn
