#include "rules/run_rules.h"

#include <gtest/gtest.h>

#include <utility>

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
template <class Interface>
class Fake : public Interface {
 public:
  Fake(std::string_view id, std::vector<Diagnostic> findings) : id_(id), findings_(std::move(findings)) {}
  std::string_view id() const override { return id_; }
  std::string_view name() const override { return "fake"; }
  std::string_view description() const override { return ""; }
  bool is_error() const override { return true; }

 protected:
  std::string_view id_;
  std::vector<Diagnostic> findings_;
};

struct FakeRule final : Fake<Rule> {
  using Fake::Fake;
  std::vector<Diagnostic> check(const ParsedMigration&) const override { return findings_; }
};

struct FakeChangesetRule final : Fake<ChangesetRule> {
  using Fake::Fake;
  std::vector<Diagnostic> check(const std::vector<const ParsedMigration*>&, const std::vector<std::string>&,
                                const std::vector<std::string>&, const Config&) const override {
    return findings_;
  }
};

Config config_with(std::set<std::string> select, std::set<std::string> ignore, bool warnings_as_errors = false) {
  Config config;
  config.select = std::move(select);
  config.ignore = std::move(ignore);
  config.warnings_as_errors = warnings_as_errors;
  return config;
}

std::vector<std::string> messages(const std::vector<Diagnostic>& diagnostics) {
  std::vector<std::string> out;
  for (const auto& d : diagnostics) out.push_back(std::string(d.rule_id) + " " + d.message);
  return out;
}

TEST(RunRules, EnabledRulesInRegistryOrderSuppressedThenRaised) {
  std::vector<std::unique_ptr<Rule>> rules;
  rules.push_back(std::make_unique<FakeRule>("R010", std::vector{finding("R010", 9, 9), finding("R010", 2, 2)}));
  rules.push_back(std::make_unique<FakeRule>(
      "R012", std::vector{finding("R012", 3, 3, Severity::Warning), finding("R012", 20, 22, Severity::Warning)}));
  auto m = make_migration(Framework::Django, {});
  m.suppressions = {{2, {"R012"}}, {19, {"R013"}}};
  const auto all = run_rules(rules, m, config_with({}, {}, true));
  EXPECT_EQ(messages(all), (std::vector<std::string>{"R010 msg 9", "R010 msg 2", "R012 msg 20"}));
  EXPECT_EQ(all[2].severity, Severity::Error);
  const auto selected = run_rules(rules, m, config_with({"R012", "R010"}, {"R010"}));
  EXPECT_EQ(messages(selected), (std::vector<std::string>{"R012 msg 20"}));
  EXPECT_EQ(selected[0].severity, Severity::Warning);
}

TEST(IsSuppressedInRange, WindowIsLineBeforeThroughLastLine) {
  for (uint64_t comment = 7; comment <= 14; ++comment) {
    const SuppressionMap map{{comment, {"R001"}}};
    EXPECT_EQ(is_suppressed_in_range(map, "R001", 10, 12), comment >= 9 && comment <= 12) << comment;
  }
  // Line 0 does not exist: a comment on line 1 covers findings starting on 0, 1 or 2.
  for (uint64_t start : {0, 1, 2}) {
    EXPECT_TRUE(is_suppressed_in_range(SuppressionMap{{1, {"R001"}}}, "R001", start, start + 1)) << start;
    EXPECT_FALSE(is_suppressed_in_range(SuppressionMap{{0, {"R001"}}}, "R001", start, start + 1)) << start;
  }
  const SuppressionMap map{{4, {"R002", "R010"}}, {5, {"R001"}}};
  EXPECT_TRUE(is_suppressed_in_range(map, "R010", 5, 5));
  EXPECT_FALSE(is_suppressed_in_range(map, "R003", 1, 100));
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

TEST(RunChangesetRules, SelectionSuppressionAndWarningsAsErrors) {
  std::vector<std::unique_ptr<ChangesetRule>> rules;
  rules.push_back(
      std::make_unique<FakeChangesetRule>("R008", std::vector{finding("R008", 0, 0, Severity::Warning, "setup.cfg")}));
  rules.push_back(std::make_unique<FakeChangesetRule>(
      "R009",
      std::vector{finding("R009", 3, 3, Severity::Warning, "m.py"), finding("R009", 8, 8, Severity::Warning, "m.py")}));
  auto m = make_migration(Framework::Django, {}, "m.py");
  m.suppressions = {{7, {"R009"}}};
  const auto all = run_changeset_rules(rules, {&m}, {}, {}, config_with({}, {}, true));
  EXPECT_EQ(messages(all), (std::vector<std::string>{"R008 msg 0", "R009 msg 3"}));
  for (const auto& d : all) EXPECT_EQ(d.severity, Severity::Error);
  const auto only_r009 = run_changeset_rules(rules, {&m}, {}, {}, config_with({}, {"R008"}));
  EXPECT_EQ(messages(only_r009), (std::vector<std::string>{"R009 msg 3"}));
  EXPECT_EQ(only_r009[0].severity, Severity::Warning);
}

}  // namespace
}  // namespace tarn
