#include "main/report.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace tarn {
namespace {

Diagnostic diag(std::string path, uint64_t line, uint64_t column, std::string_view id, std::string message = "m") {
  Span span;
  span.start_line = line;
  span.start_column = column;
  return Diagnostic{id, "rule-name", std::move(message), Severity::Error, std::move(path), span, std::nullopt};
}

std::vector<std::string> keys(const std::vector<Diagnostic>& diagnostics) {
  std::vector<std::string> out;
  for (const auto& d : diagnostics) {
    out.push_back(d.path + ":" + std::to_string(d.span.start_line) + ":" + std::to_string(d.span.start_column) + " " +
                  std::string(d.rule_id) + " " + d.message);
  }
  return out;
}

TEST(SortDiagnostics, PathsByComponentThenPositionThenRuleId) {
  std::vector<Diagnostic> list = {
      diag("app/migrations-old/0001.py", 1, 0, "R001"),
      diag("a-b", 1, 0, "R001"),
      diag("app/migrations/0002.py", 10, 0, "R016"),
      diag("app/migrations/0002.py", 9, 8, "R016"),
      diag("app/migrations/0002.py", 10, 0, "R001"),
      diag("app/migrations/0002.py", 9, 12, "R001"),
      diag("a/b", 1, 0, "R001"),
      diag("app/./migrations/0002.py", 2, 0, "R001"),
  };
  sort_diagnostics(list);
  EXPECT_EQ(keys(list), (std::vector<std::string>{
                            "a/b:1:0 R001 m",
                            "a-b:1:0 R001 m",
                            "app/./migrations/0002.py:2:0 R001 m",
                            "app/migrations/0002.py:9:8 R016 m",
                            "app/migrations/0002.py:9:12 R001 m",
                            "app/migrations/0002.py:10:0 R001 m",
                            "app/migrations/0002.py:10:0 R016 m",
                            "app/migrations-old/0001.py:1:0 R001 m",
                        }));
}

}  // namespace
}  // namespace tarn
