#include "main/report.h"

#include <gtest/gtest.h>

#include <algorithm>
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

// Whatever the batches, every part of the report ends at a line end (so an
// error line between two parts stays whole in a merged log), and the parts
// together are the report printed in one batch.
TEST(ReportPrinter, EveryPartEndsAtALineEnd) {
  std::vector<Diagnostic> all;
  for (int i = 0; i < 5; ++i) {
    all.push_back(diag("p" + std::to_string(i), 1, 0, "R001"));
    all.back().help = "h";
  }
  for (const OutputFormat format : {OutputFormat::Default, OutputFormat::Compact, OutputFormat::Json}) {
    std::string whole;
    ReportPrinter one(format, false, [&](std::string_view text) { whole += text; });
    one.add(all);
    one.finish();

    for (const size_t batch_size : {1, 2, 5}) {
      std::vector<std::string> parts;
      ReportPrinter printer(format, false, [&](std::string_view text) { parts.emplace_back(text); });
      for (size_t i = 0; i < all.size(); i += batch_size)
        printer.add({all.begin() + static_cast<long>(i), all.begin() + static_cast<long>(std::min(all.size(), i + batch_size))});
      printer.finish();
      std::string joined;
      for (const std::string& part : parts) {
        EXPECT_TRUE(part.empty() || part.back() == '\n') << static_cast<int>(format) << " " << batch_size << ": " << part;
        joined += part;
      }
      EXPECT_EQ(joined, whole) << static_cast<int>(format) << " " << batch_size;
    }
  }
}

}  // namespace
}  // namespace tarn
