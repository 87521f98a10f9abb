#include "rules/run_rules.h"

#include <gtest/gtest.h>

#include <utility>

#include "rules/changeset_rules.h"
#include "rules/test_support.h"

namespace tarn {
namespace {

using namespace tarn::testing;

Diagnostic finding(std::string_view id, uint64_t start_line, uint64_t end_line, Severity severity = Severity::Error,
                   std::string path = "app/migrations/0002_change.py") {
  Span span = line_span(start_line);
  span.end_line = end_line;
  return Diagnostic{id, "fake", "msg " + std::to_string(start_line), severity, std::move(path), span, "help"};
}

// Returns preset findings.
class FakeRule final : public Rule {
 public:
  FakeRule(std::string_view id, std::vector<Diagnostic> findings) : id_(id), findings_(std::move(findings)) {}
  std::string_view id() const override { return id_; }
  std::string_view name() const override { return "fake"; }
  std::string_view description() const override { return ""; }
  bool is_error() const override { return true; }
  std::vector<Diagnostic> check(const ParsedMigration&, const RuleContext&) const override { return findings_; }

 private:
  std::string_view id_;
  std::vector<Diagnostic> findings_;
};

Config config_with(std::set<std::string> select, std::set<std::string> ignore, bool warnings_as_errors = false) {
  Config config;
  config.select = std::move(select);
  config.ignore = std::move(ignore);
  config.warnings_as_errors = warnings_as_errors;
  return config;
}

TEST(IsSuppressedInRange, LineZeroSeveralIdsAndInvertedWindows) {
  // Line 0 does not exist: a comment on line 1 covers findings starting on 0, 1 or 2.
  for (uint64_t start : {0, 1, 2}) {
    EXPECT_TRUE(is_suppressed_in_range(SuppressionMap{{1, {"R001"}}}, "R001", start, start + 1)) << start;
    EXPECT_FALSE(is_suppressed_in_range(SuppressionMap{{0, {"R001"}}}, "R001", start, start + 1)) << start;
  }
  const SuppressionMap map{{4, {"R002", "R010"}}, {5, {"R001"}}};
  EXPECT_TRUE(is_suppressed_in_range(map, "R010", 5, 5));
  EXPECT_FALSE(is_suppressed_in_range(map, "R001", 7, 5));  // an inverted window looks at nothing
}

TEST(ChangesetSuppressions, OwnMigrationsCommentsOrAnyMigrationsForOtherFiles) {
  auto own = make_migration(Framework::Django, {}, "/repo/app/migrations/0002_x.py");
  own.suppressions = {{20, {"R009"}}};
  auto other = make_migration(Framework::Alembic, {}, "/repo/app/migrations/0003_y.py");
  other.suppressions = {{5, {"R009"}}, {401, {"R008"}}};
  const ChangesetSuppressions both({&other, &own});
  EXPECT_TRUE(both.keeps(finding("R009", 5, 5, Severity::Error, own.path)));
  EXPECT_FALSE(both.keeps(finding("R009", 21, 21, Severity::Error, own.path)));
  // Paths are equal component by component; a relative path never names the
  // absolute one, so that finding counts as one about another file.
  EXPECT_TRUE(both.keeps(finding("R009", 5, 5, Severity::Error, "/repo/app/./migrations//0002_x.py/")));
  EXPECT_FALSE(both.keeps(finding("R009", 5, 5, Severity::Error, "repo/app/migrations/0002_x.py")));
  // The first migration with the finding's path decides.
  auto twin = own;
  twin.suppressions = {{5, {"R009"}}};
  EXPECT_FALSE(ChangesetSuppressions({&twin, &own}).keeps(finding("R009", 5, 5, Severity::Error, own.path)));
  const Diagnostic about_readme = finding("R008", 1, 1, Severity::Error, "README.md");
  EXPECT_FALSE(both.keeps(about_readme));
  EXPECT_TRUE(ChangesetSuppressions({&own}).keeps(about_readme));
}

TEST(RunChangesetRules, IgnoredRulesDoNotRun) {
  std::vector<std::unique_ptr<ChangesetRule>> rules;
  rules.push_back(make_disallowed_file_changes());
  const auto m = make_migration(Framework::Django, {}, "m.py");
  EXPECT_EQ(run_changeset_rules(rules, {&m}, {"m.py"}, {"setup.cfg"}, config_with({}, {})).size(), 1u);
  EXPECT_TRUE(run_changeset_rules(rules, {&m}, {"m.py"}, {"setup.cfg"}, config_with({}, {"R008"})).empty());
}

}  // namespace
}  // namespace tarn
