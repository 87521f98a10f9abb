#include "main/json_report.h"

#include <gtest/gtest.h>

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
  std::string error;
  const auto text = render_json_report(list, error);
  EXPECT_TRUE(error.empty()) << error;
  return text.value_or("");
}

TEST(JsonReport, EmptyDocument) {
  EXPECT_EQ(
      render({}),
      "{\n  \"diagnostics\": [],\n  \"summary\": {\n    \"total\": 0,\n    \"errors\": 0,\n    \"warnings\": 0\n  "
      "}\n}\n");
}

TEST(JsonReport, MembersInOrderWithNullHelpAndRawText) {
  const std::vector<Diagnostic> list = {
      diag("app/migrations/0002.py", 3, 0, "two\nlines \x1b \"q\" \\ é", "Use \"x\""),
      diag("app/migrations/0003.py", 12, 8, "m", std::nullopt, Severity::Warning),
  };
  EXPECT_EQ(render(list), R"({
  "diagnostics": [
    {
      "rule_id": "R001",
      "rule_name": "non-concurrent-add-index",
      "message": "two\nlines \u001b \"q\" \\ é",
      "severity": "error",
      "path": "app/migrations/0002.py",
      "line": 3,
      "column": 0,
      "help": "Use \"x\""
    },
    {
      "rule_id": "R001",
      "rule_name": "non-concurrent-add-index",
      "message": "m",
      "severity": "warning",
      "path": "app/migrations/0003.py",
      "line": 12,
      "column": 8,
      "help": null
    }
  ],
  "summary": {
    "total": 2,
    "errors": 1,
    "warnings": 1
  }
}
)");
}

TEST(JsonReport, InvalidUtf8IsReplacedNotFatal) {
  const std::vector<Diagnostic> list = {diag("bad\xFF.py", 1, 0, "m\xC3", "h\xFE")};
  const std::string out = render(list);
  EXPECT_NE(out.find("\"path\": \"bad\xEF\xBF\xBD.py\""), std::string::npos) << out;
  EXPECT_NE(out.find("\"message\": \"m\xEF\xBF\xBD\""), std::string::npos) << out;
  EXPECT_NE(out.find("\"help\": \"h\xEF\xBF\xBD\""), std::string::npos) << out;
}

}  // namespace
}  // namespace tarn
