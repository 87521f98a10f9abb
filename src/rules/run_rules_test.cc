#include "rules/run_rules.h"

#include <gtest/gtest.h>

#include <utility>

#include "rules/rule_support.h"
#include "rules/rule_test_support.h"

namespace tarn {
namespace {

using testing::line_span;

Diagnostic finding(std::string_view id, uint64_t start_line, uint64_t end_line, Severity severity = Severity::Error,
                   std::string path = "app/migrations/0002_change.py") {
  Span span = line_span(start_line);
  span.end_line = end_line;
  return Diagnostic{id, "fake", "msg " + std::to_string(start_line), severity, std::move(path), span, "help"};
}

// Returns preset findings and counts its calls.
template <class Interface>
class Fake : public Interface {
 public:
  Fake(std::string_view id, std::vector<Diagnostic> findings, int* calls)
      : id_(id), findings_(std::move(findings)), calls_(calls) {}
  std::string_view id() const override { return id_; }
  std::string_view name() const override { return "fake"; }
  std::string_view description() const override { return ""; }
  bool is_error() const override { return true; }

 protected:
  std::vector<Diagnostic> answer() const {
    ++*calls_;
    return findings_;
  }

 private:
  std::string_view id_;
  std::vector<Diagnostic> findings_;
  int* calls_;
};

class FakeRule final : public Fake<Rule> {
 public:
  using Fake::Fake;
  std::vector<Diagnostic> check(const ParsedMigration& migration, const RuleContext& ctx) const override {
    EXPECT_EQ(&ctx.path, &migration.path);
    return answer();
  }
};

class FakeChangesetRule final : public Fake<ChangesetRule> {
 public:
  using Fake::Fake;
  std::vector<Diagnostic> check(const std::vector<const ParsedMigration*>&, const std::vector<std::string>&,
                                const std::vector<std::string>&, const Config&) const override {
    return answer();
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

TEST(IsRuleEnabled, SelectAndIgnore) {
  struct Case {
    std::set<std::string> select, ignore;
    bool r001;
  };
  const Case cases[] = {
      {{}, {}, true},         {{"R001"}, {}, true},        {{"R002"}, {}, false},
      {{}, {"R001"}, false},  {{"R001"}, {"R001"}, false}, {{"r001"}, {}, false},
      {{"R001 "}, {}, false}, {{}, {"r001"}, true},
  };
  for (const Case& c : cases) EXPECT_EQ(is_rule_enabled(config_with(c.select, c.ignore), "R001"), c.r001);
}

TEST(RunRules, GroupsFindingsByRuleInRegistryOrder) {
  int calls = 0;
  std::vector<std::unique_ptr<Rule>> rules;
  rules.push_back(
      std::make_unique<FakeRule>("R010", std::vector{finding("R010", 9, 9), finding("R010", 2, 2)}, &calls));
  rules.push_back(std::make_unique<FakeRule>("R002", std::vector{finding("R002", 1, 1)}, &calls));
  rules.push_back(std::make_unique<FakeRule>("R003", std::vector{finding("R003", 5, 5)}, &calls));
  const auto m = testing::make_migration(Framework::Django, {});
  EXPECT_EQ(messages(run_rules(rules, m, Config{})),
            (std::vector<std::string>{"R010 msg 9", "R010 msg 2", "R002 msg 1", "R003 msg 5"}));
  EXPECT_EQ(calls, 3);
  EXPECT_EQ(messages(run_rules(rules, m, config_with({"R003", "R010"}, {"R010"}))),
            (std::vector<std::string>{"R003 msg 5"}));
  EXPECT_EQ(calls, 4);
}

TEST(RunRules, NoEnabledRuleCallsNoCheck) {
  int calls = 0;
  std::vector<std::unique_ptr<Rule>> rules;
  rules.push_back(std::make_unique<FakeRule>("R001", std::vector{finding("R001", 1, 1)}, &calls));
  const auto m = testing::make_migration(Framework::Django, {});
  EXPECT_TRUE(run_rules(rules, m, config_with({"R002"}, {})).empty());
  EXPECT_TRUE(run_rules(rules, m, config_with({"R001"}, {"R001"})).empty());
  EXPECT_EQ(calls, 0);
}

TEST(IsSuppressedInRange, WindowIsLineBeforeThroughLastLine) {
  for (uint64_t comment = 7; comment <= 14; ++comment) {
    const SuppressionMap map{{comment, {"R001"}}};
    EXPECT_EQ(is_suppressed_in_range(map, "R001", 10, 12), comment >= 9 && comment <= 12) << comment;
  }
}

TEST(IsSuppressedInRange, StartOfFile) {
  const SuppressionMap line1{{1, {"R001"}}};
  const SuppressionMap line0{{0, {"R001"}}};
  for (uint64_t start : {0, 1, 2}) {
    EXPECT_TRUE(is_suppressed_in_range(line1, "R001", start, start + 1)) << start;
    EXPECT_FALSE(is_suppressed_in_range(line0, "R001", start, start + 1)) << start;
  }
  EXPECT_FALSE(is_suppressed_in_range(line1, "R001", 3, 3));
}

TEST(IsSuppressedInRange, OtherIdsAndInvertedWindows) {
  const SuppressionMap map{{4, {"R002", "R010"}}, {5, {"R001"}}};
  EXPECT_FALSE(is_suppressed_in_range(map, "R003", 1, 100));
  EXPECT_TRUE(is_suppressed_in_range(map, "R010", 5, 5));
  EXPECT_FALSE(is_suppressed_in_range(map, "r010", 5, 5));
  // A window whose first line lies past its last line looks at nothing.
  EXPECT_FALSE(is_suppressed_in_range(map, "R001", 7, 5));
  EXPECT_FALSE(is_suppressed_in_range(SuppressionMap{}, "R001", 1, 100));
}

TEST(RunRules, SuppressionBeforeWarningsAsErrors) {
  int calls = 0;
  std::vector<std::unique_ptr<Rule>> rules;
  rules.push_back(std::make_unique<FakeRule>(
      "R012", std::vector{finding("R012", 3, 3, Severity::Warning), finding("R012", 20, 22, Severity::Warning)},
      &calls));
  auto m = testing::make_migration(Framework::Django, {});
  m.suppressions = {{2, {"R012"}}, {19, {"R013"}}};
  const auto plain = run_rules(rules, m, Config{});
  ASSERT_EQ(messages(plain), (std::vector<std::string>{"R012 msg 20"}));
  EXPECT_EQ(plain[0].severity, Severity::Warning);
  const auto raised = run_rules(rules, m, config_with({}, {}, true));
  ASSERT_EQ(messages(raised), (std::vector<std::string>{"R012 msg 20"}));
  EXPECT_EQ(raised[0].severity, Severity::Error);
}

TEST(ChangesetDiagnosticKept, FindingAboutAMigrationFollowsItsOwnComments) {
  auto own = testing::make_migration(Framework::Django, {}, "/repo/app/migrations/0002_x.py");
  own.suppressions = {{20, {"R009"}}};
  auto other = testing::make_migration(Framework::Django, {}, "/repo/app/migrations/0003_y.py");
  other.suppressions = {{5, {"R009"}}};
  const std::vector<const ParsedMigration*> migrations{&other, &own};
  EXPECT_TRUE(changeset_diagnostic_kept(migrations, finding("R009", 5, 5, Severity::Error, own.path)));
  EXPECT_FALSE(changeset_diagnostic_kept(migrations, finding("R009", 21, 21, Severity::Error, own.path)));
  // Paths are equal component by component; a relative path never names the
  // absolute one, so that finding counts as one about another file.
  EXPECT_TRUE(changeset_diagnostic_kept(migrations,
                                        finding("R009", 5, 5, Severity::Error, "/repo/app/./migrations//0002_x.py/")));
  EXPECT_FALSE(
      changeset_diagnostic_kept(migrations, finding("R009", 5, 5, Severity::Error, "repo/app/migrations/0002_x.py")));
}

TEST(ChangesetDiagnosticKept, FirstMatchingMigrationDecides) {
  auto first = testing::make_migration(Framework::Django, {}, "app/migrations/0002_x.py");
  auto second = first;
  second.suppressions = {{1, {"R009"}}};
  EXPECT_TRUE(changeset_diagnostic_kept({&first, &second}, finding("R009", 1, 1, Severity::Error, first.path)));
  EXPECT_FALSE(changeset_diagnostic_kept({&second, &first}, finding("R009", 1, 1, Severity::Error, first.path)));
}

TEST(ChangesetDiagnosticKept, FindingAboutAnotherFileIsDroppedByAnyComment) {
  auto a = testing::make_migration(Framework::Django, {}, "app/migrations/0002_x.py");
  auto b = testing::make_migration(Framework::Alembic, {}, "alembic/versions/abc.py");
  b.suppressions = {{400, {"R010"}}, {401, {"R008"}}};
  const Diagnostic about_readme = finding("R008", 1, 1, Severity::Error, "README.md");
  EXPECT_FALSE(changeset_diagnostic_kept({&a, &b}, about_readme));
  EXPECT_TRUE(changeset_diagnostic_kept({&a}, about_readme));
  EXPECT_TRUE(changeset_diagnostic_kept({}, about_readme));
}

TEST(RunChangesetRules, SelectionSuppressionAndWarningsAsErrors) {
  int calls = 0;
  std::vector<std::unique_ptr<ChangesetRule>> rules;
  rules.push_back(std::make_unique<FakeChangesetRule>(
      "R008", std::vector{finding("R008", 0, 0, Severity::Warning, "setup.cfg")}, &calls));
  rules.push_back(std::make_unique<FakeChangesetRule>(
      "R009",
      std::vector{finding("R009", 3, 3, Severity::Warning, "app/migrations/0002_x.py"),
                  finding("R009", 8, 8, Severity::Warning, "app/migrations/0002_x.py")},
      &calls));
  auto m = testing::make_migration(Framework::Django, {}, "app/migrations/0002_x.py");
  m.suppressions = {{7, {"R009"}}};
  const std::vector<const ParsedMigration*> migrations{&m};

  const auto all = run_changeset_rules(rules, migrations, {}, {}, config_with({}, {}, true));
  EXPECT_EQ(messages(all), (std::vector<std::string>{"R008 msg 0", "R009 msg 3"}));
  for (const auto& d : all) EXPECT_EQ(d.severity, Severity::Error);
  EXPECT_EQ(calls, 2);

  const auto only_r009 = run_changeset_rules(rules, migrations, {}, {}, config_with({}, {"R008"}));
  EXPECT_EQ(messages(only_r009), (std::vector<std::string>{"R009 msg 3"}));
  EXPECT_EQ(only_r009[0].severity, Severity::Warning);
  EXPECT_EQ(calls, 3);

  EXPECT_TRUE(run_changeset_rules({}, migrations, {}, {}, Config{}).empty());
}

}  // namespace
}  // namespace tarn
