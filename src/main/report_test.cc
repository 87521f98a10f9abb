#include "main/report.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace tarn {
namespace {

Diagnostic diag(std::string path, uint64_t line, uint64_t column, std::string_view id) {
  Span span;
  span.start_line = line;
  span.start_column = column;
  return Diagnostic{id, "rule-name", "m", Severity::Error, std::move(path), span, std::nullopt};
}

// Path order by component is pinned end to end; here the ties within a file.
TEST(SortDiagnostics, PathsByComponentThenPositionThenRuleId) {
  std::vector<Diagnostic> list = {
      diag("a-b", 1, 0, "R001"),         diag("p", 10, 0, "R016"), diag("p", 9, 8, "R016"),
      diag("p", 10, 0, "R001"),          diag("p", 9, 12, "R001"), diag("a/b", 1, 0, "R001"),
  };
  sort_diagnostics(list);
  std::vector<std::string> keys;
  for (const auto& d : list) {
    keys.push_back(d.path + ":" + std::to_string(d.span.start_line) + ":" + std::to_string(d.span.start_column) + " " +
                   std::string(d.rule_id));
  }
  EXPECT_EQ(keys, (std::vector<std::string>{"a/b:1:0 R001", "a-b:1:0 R001", "p:9:8 R016", "p:9:12 R001",
                                            "p:10:0 R001", "p:10:0 R016"}));
}

}  // namespace
}  // namespace tarn
