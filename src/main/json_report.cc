#include "main/json_report.h"

#include <exception>
#include <nlohmann/json.hpp>

#include "main/color.h"
#include "main/output.h"
#include "util/utf8.h"

namespace tarn {

std::optional<std::string> render_json_report(const std::vector<Diagnostic>& diagnostics, std::string& error) {
  using nlohmann::ordered_json;
  try {
    ordered_json list = ordered_json::array();
    size_t errors = 0;
    for (const Diagnostic& d : diagnostics) {
      if (d.severity == Severity::Error) ++errors;
      ordered_json entry = ordered_json::object();
      entry["rule_id"] = std::string(d.rule_id);
      entry["rule_name"] = std::string(d.rule_name);
      entry["message"] = d.message;
      entry["severity"] = std::string(severity_word(d.severity));
      entry["path"] = utf8_lossy(d.path);
      entry["line"] = d.span.start_line;
      entry["column"] = d.span.start_column;
      entry["help"] = d.help ? ordered_json(*d.help) : ordered_json(nullptr);
      list.push_back(std::move(entry));
    }
    ordered_json summary = ordered_json::object();
    summary["total"] = diagnostics.size();
    summary["errors"] = errors;
    summary["warnings"] = diagnostics.size() - errors;
    ordered_json report = ordered_json::object();
    report["diagnostics"] = std::move(list);
    report["summary"] = std::move(summary);
    return report.dump(2, ' ', false, ordered_json::error_handler_t::replace) + "\n";
  } catch (const std::exception& e) {
    error = e.what();
    return std::nullopt;
  }
}

void print_json_report(const std::vector<Diagnostic>& diagnostics) {
  std::string error;
  if (const auto text = render_json_report(diagnostics, error)) {
    write_stdout(*text);
  } else {
    write_stderr(style("error", Color::Red, true) + ": Failed to serialize JSON output: " + error + "\n");
  }
}

}  // namespace tarn
