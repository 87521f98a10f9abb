#include "main/report.h"

#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

namespace tarn {

namespace {

Diagnostic diag(std::string path, uint64_t line, uint64_t column, std::string message, std::optional<std::string_view> help,
                Severity severity = Severity::Error) {
  Span span;
  span.start_line = line;
  span.start_column = column;
  span.end_line = line + 2;
  return Diagnostic{"R001",         "non-concurrent-add-index", std::move(message), severity, std::move(path), span,
                    help};
}

std::string render(const std::vector<Diagnostic>& list) {
  std::string out;
  ReportPrinter printer(OutputFormat::Json, false, [&](std::string_view text) { out += text; });
  printer.add(list);
  printer.finish();
  return out;
}

// The report is written piece by piece; it must be byte for byte what the
// JSON library's pretty dump of the whole document gives.
std::string library_dump(const std::vector<Diagnostic>& list) {
  using nlohmann::ordered_json;
  ordered_json items = ordered_json::array();
  size_t errors = 0;
  for (const Diagnostic& d : list) {
    errors += d.severity == Severity::Error;
    ordered_json item = ordered_json::object();
    item["rule_id"] = std::string(d.rule_id);
    item["rule_name"] = std::string(d.rule_name);
    item["message"] = d.message;
    item["severity"] = std::string(severity_word(d.severity));
    item["path"] = d.path;
    item["line"] = d.span.start_line;
    item["column"] = d.span.start_column;
    item["help"] = d.help ? ordered_json(std::string(*d.help)) : ordered_json(nullptr);
    items.push_back(std::move(item));
  }
  ordered_json doc = ordered_json::object();
  doc["diagnostics"] = std::move(items);
  doc["summary"] = {{"total", list.size()}, {"errors", errors}, {"warnings", list.size() - errors}};
  return doc.dump(2, ' ', false, ordered_json::error_handler_t::replace) + "\n";
}

TEST(JsonReport, EscapesAtEveryOffsetOfALongRun) {
  // Plain runs are copied eight bytes at a time: a byte that needs escaping
  // (or is not ASCII) must be seen wherever it falls in such a run.
  for (const std::string special : {"\"", "\\", "\n", "\x1f", "\x7f", "\xC3\xA9", "\xFF"}) {
    for (size_t at = 0; at <= 20; ++at) {
      const std::string text = std::string(at, 'a') + special + std::string(20 - at, 'b');
      const std::vector<Diagnostic> list = {diag("a.py", 1, 0, text, text)};
      EXPECT_EQ(render(list), library_dump(list)) << at;
    }
  }
}

}  // namespace
}  // namespace tarn
