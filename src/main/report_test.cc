#include "main/report.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

namespace tarn {
namespace {

Diagnostic diag(std::string path, uint64_t line, uint64_t column, std::string_view id, std::string message = "m",
                Severity severity = Severity::Error, std::optional<std::string_view> help = std::nullopt) {
  Span span;
  span.start_line = line;
  span.start_column = column;
  span.end_line = line;
  return Diagnostic{id, "rule-name", std::move(message), severity, std::move(path), span, help};
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

TEST(SortDiagnostics, EqualKeysKeepTheirOrder) {
  // Enough records to rule out a sort that is only stable for short lists.
  std::vector<Diagnostic> list;
  for (int i = 0; i < 40; ++i) {
    list.push_back(diag(i % 2 ? "b.py" : "a.py", static_cast<uint64_t>(i % 3), 0, "R001", std::to_string(i)));
  }
  sort_diagnostics(list);
  std::vector<int> previous_per_key(6, -1);
  for (const auto& d : list) {
    const size_t key = (d.path == "b.py" ? 3 : 0) + d.span.start_line;
    const int n = std::stoi(d.message);
    EXPECT_GT(n, previous_per_key[key]);
    previous_per_key[key] = n;
  }
}

TEST(RenderDefault, GoldenWithSummary) {
  const std::vector<Diagnostic> list = {
      diag("app/migrations/0002.py", 7, 4, "R001", "Use AddIndexConcurrently", Severity::Error, "Replace it"),
      diag("app/migrations/0002.py", 9, 4, "R012", "No reverse", Severity::Warning),
      diag("app/migrations/0003.py", 1, 0, "R015", "Not null", Severity::Warning, "Verify"),
  };
  EXPECT_EQ(render_default(list, false),
            "error: Use AddIndexConcurrently [R001 rule-name]\n"
            "  --> app/migrations/0002.py:7\n"
            "  help: Replace it\n"
            "\n"
            "warning: No reverse [R012 rule-name]\n"
            "  --> app/migrations/0002.py:9\n"
            "\n"
            "warning: Not null [R015 rule-name]\n"
            "  --> app/migrations/0003.py:1\n"
            "  help: Verify\n"
            "\n"
            "1 error, 2 warnings\n");
}

TEST(RenderDefault, SummaryVariants) {
  const auto summary = [](std::vector<Diagnostic> list) {
    const std::string out = render_default(list, false);
    const size_t last = out.rfind('\n', out.size() - 2);
    return out.substr(last + 1);
  };
  const Diagnostic e = diag("a.py", 1, 0, "R001", "m", Severity::Error);
  const Diagnostic w = diag("a.py", 1, 0, "R012", "m", Severity::Warning);
  EXPECT_EQ(summary({e, e}), "2 errors\n");
  EXPECT_EQ(summary({e}), "1 error\n");
  EXPECT_EQ(summary({w}), "1 warning\n");
  EXPECT_EQ(summary({w, e, w}), "1 error, 2 warnings\n");
  EXPECT_EQ(render_default({}, false), "");
  EXPECT_EQ(render_compact({}), "");
}

TEST(RenderDefault, StyledElementsOnly) {
  const std::vector<Diagnostic> list = {
      diag("a.py", 3, 0, "R001", "msg", Severity::Error, "do"),
      diag("a.py", 4, 0, "R012", "msg", Severity::Warning),
  };
  EXPECT_EQ(render_default(list, true),
            "\x1b[1;31merror\x1b[0m: msg [\x1b[36mR001\x1b[0m \x1b[36mrule-name\x1b[0m]\n"
            "  \x1b[34m-->\x1b[0m a.py:3\n"
            "  \x1b[32mhelp:\x1b[0m do\n"
            "\n"
            "\x1b[1;33mwarning\x1b[0m: msg [\x1b[36mR012\x1b[0m \x1b[36mrule-name\x1b[0m]\n"
            "  \x1b[34m-->\x1b[0m a.py:4\n"
            "\n"
            "\x1b[31m1 error\x1b[0m, \x1b[33m1 warning\x1b[0m\n");
}

TEST(RenderCompact, Golden) {
  const std::vector<Diagnostic> list = {
      diag("app/migrations/0002.py", 7, 4, "R001", "Use AddIndexConcurrently", Severity::Error, "Replace it"),
      diag("app/migrations/0002.py", 9, 4, "R012", "No reverse", Severity::Warning),
  };
  EXPECT_EQ(render_compact(list),
            "app/migrations/0002.py:7: E: [R001 rule-name] Use AddIndexConcurrently\n"
            "  help: Replace it\n"
            "app/migrations/0002.py:9: W: [R012 rule-name] No reverse\n");
}

TEST(TextReports, ControlCharactersAreEscapedExceptHelpNewlines) {
  const std::vector<Diagnostic> list = {
      diag("dir\nx/0001\x1b.py", 2, 0, "R001", "bad\nname\x1b[2J", Severity::Error, "first\nsecond\ttab"),
  };
  EXPECT_EQ(render_default(list, false),
            "error: bad\\x0aname\\x1b[2J [R001 rule-name]\n"
            "  --> dir\\x0ax/0001\\x1b.py:2\n"
            "  help: first\n"
            "second\\x09tab\n"
            "\n"
            "1 error\n");
  EXPECT_EQ(render_compact(list),
            "dir\\x0ax/0001\\x1b.py:2: E: [R001 rule-name] bad\\x0aname\\x1b[2J\n"
            "  help: first\n"
            "second\\x09tab\n");
}

}  // namespace
}  // namespace tarn
