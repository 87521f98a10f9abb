#include "rules/changeset_rules.h"

#include <gtest/gtest.h>

#include "rules/test_support.h"

namespace tarn {
namespace {

using namespace tarn::testing;
using K = OperationKind;

Operation state_only(uint64_t line) { return at_line(separate_op({}, true, false), line); }
Operation both_sides(uint64_t line) {
  std::vector<Operation> db;
  db.push_back(field_op(K::RemoveField, "book", "isbn"));
  return at_line(separate_op(std::move(db), true), line);
}
Operation database_only(uint64_t line) {
  std::vector<Operation> db;
  db.push_back(field_op(K::RemoveField, "book", "isbn"));
  return at_line(separate_op(std::move(db), false), line);
}

using Maker = Operation (*)(uint64_t);

// One operation per maker, on lines 2, 3, ...
std::vector<Operation> ops_of(const std::vector<Maker>& makers) {
  std::vector<Operation> ops;
  uint64_t line = 1;
  for (auto make : makers) ops.push_back(make(++line));
  return ops;
}

TEST(R008, AllowedPatternsMatchWholePathOrFileName) {
  struct Case {
    const char* name;
    std::vector<std::string> patterns;
    std::vector<std::string> changed;
    std::vector<std::string> reported;
  };
  const std::vector<Case> cases = {
      {"no pattern reports every file", {}, {"README.md", "src/app.py"}, {"README.md", "src/app.py"}},
      {"file name or whole path", {"*.md"}, {"README.md", "docs/guide.md", "src/app.py"}, {"src/app.py"}},
      {"file name alone", {"Makefile"}, {"build/Makefile", "Makefile.bak"}, {"Makefile.bak"}},
      {"wildcards cross separators", {"docs/*"}, {"docs/a/b.txt", "src/docs/x"}, {"src/docs/x"}},
      {"backslashes match as slashes", {"docs/*.txt"}, {"docs\\guide.txt", "src\\guide.txt"}, {"src\\guide.txt"}},
      {"a file name with a backslash is not split", {"guide.txt"}, {"docs\\guide.txt"}, {"docs\\guide.txt"}},
      {"bad pattern skipped, later ones still tried", {"[", "*.cfg"}, {"setup.cfg", "a.toml"}, {"a.toml"}},
      {"case-sensitive", {"*.MD"}, {"README.md"}, {"README.md"}},
      {"no file name: only the whole path", {".."}, {"x/..", ".."}, {"x/.."}},
      {"deleted and nested files count alike", {"*.py"}, {"gone.rs", "pkg/mod.py"}, {"gone.rs"}},
  };
  auto rule = make_disallowed_file_changes();
  for (const Case& c : cases) {
    Config config;
    config.allowed_file_patterns = c.patterns;
    auto d = check_changeset(*rule, {}, {"/repo/app/migrations/0002_x.py"}, c.changed, config);
    std::vector<std::string> paths;
    for (const auto& diagnostic : d) paths.push_back(diagnostic.path);
    EXPECT_EQ(paths, c.reported) << c.name;
  }
}

TEST(R008, NothingWithoutAChangedMigration) {
  auto rule = make_disallowed_file_changes();
  EXPECT_TRUE(check_changeset(*rule, {}, {}, {"README.md"}).empty());
  EXPECT_TRUE(check_changeset(*rule, {}, {"/repo/m/0001.py"}, {}).empty());
}

TEST(R008, FindingAtFileStartNamingThePathAsListed) {
  auto rule = make_disallowed_file_changes();
  auto d = check_changeset(*rule, {}, {"/repo/app/migrations/0002_x.py"}, {"docs\\READ\xffME.md"});
  ASSERT_EQ(d.size(), 1u);
  EXPECT_EQ(d[0].rule_id, "R008");
  EXPECT_EQ(d[0].rule_name, "disallowed-file-changes");
  EXPECT_EQ(d[0].path, "docs\\READ\xffME.md");
  EXPECT_EQ(d[0].message,
            "File 'docs\\READ\xef\xbf\xbdME.md' does not match any allowed pattern and changed alongside migrations");
  EXPECT_EQ(d[0].help,
            "Database migrations and application code should be deployed separately. Split this PR into separate "
            "changes or add the pattern to allowed-file-patterns.");
  EXPECT_EQ(d[0].span, (Span{0, 0, 1, 0, 1, 0}));
  EXPECT_EQ(d[0].severity, Severity::Error);
}

TEST(R009, HalvesAcrossTheChangeSet) {
  struct Case {
    const char* name;
    std::vector<std::vector<Maker>> migrations;
    // One entry per reported migration: its index and the reported line.
    std::vector<std::pair<size_t, uint64_t>> expected;
  };
  const std::vector<Case> cases = {
      {"halves in two migrations", {{state_only}, {database_only}}, {{0, 2}, {1, 2}}},
      {"halves in one migration, reported once at the first", {{both_sides, database_only, state_only}}, {{0, 3}}},
      {"only state-only halves", {{state_only}, {state_only}}, {}},
      {"only both-sided operations", {{both_sides}, {both_sides}}, {}},
      {"a both-sided migration is not reported", {{state_only}, {both_sides}, {database_only}}, {{0, 2}, {2, 2}}},
      {"no migrations", {}, {}},
  };
  auto rule = make_separate_db_state_same_pr();
  for (const Case& c : cases) {
    std::vector<ParsedMigration> parsed;
    for (size_t i = 0; i < c.migrations.size(); ++i) {
      parsed.push_back(
          make_migration(Framework::Django, ops_of(c.migrations[i]), "/repo/app/migrations/000" + std::to_string(i)));
    }
    std::vector<const ParsedMigration*> refs;
    for (const auto& m : parsed) refs.push_back(&m);
    auto d = check_changeset(*rule, refs, {}, {});
    ASSERT_EQ(d.size(), c.expected.size()) << c.name;
    for (size_t i = 0; i < d.size(); ++i) {
      EXPECT_EQ(d[i].path, parsed[c.expected[i].first].path) << c.name;
      EXPECT_EQ(d[i].span, line_span(c.expected[i].second)) << c.name;
      EXPECT_EQ(d[i].severity, Severity::Error);
    }
  }
}

TEST(R009, NestedHalvesDoNotCount) {
  std::vector<Operation> inner;
  inner.push_back(database_only(3));
  std::vector<Operation> ops;
  ops.push_back(state_only(2));
  ops.push_back(at_line(separate_op(std::move(inner), true), 3));  // both-sided wrapper
  ParsedMigration m = make_migration(Framework::Django, std::move(ops));
  auto rule = make_separate_db_state_same_pr();
  EXPECT_TRUE(check_changeset(*rule, {&m}, {m.path}, {}).empty());
}

TEST(R009, Texts) {
  ParsedMigration a = make_migration(Framework::Django, ops_of({state_only}), "a.py");
  ParsedMigration b = make_migration(Framework::Django, ops_of({database_only}), "b.py");
  auto rule = make_separate_db_state_same_pr();
  auto d = check_changeset(*rule, {&a, &b}, {}, {});
  ASSERT_EQ(d.size(), 2u);
  EXPECT_EQ(d[0].rule_id, "R009");
  EXPECT_EQ(d[0].rule_name, "separate-db-state-same-pr");
  EXPECT_EQ(d[0].message, "Both halves of a SeparateDatabaseAndState two-step deployment appear in this changeset");
  EXPECT_EQ(d[0].help,
            "Deploy the state-only migration first, wait for all application servers to pick up the change, then "
            "deploy the database-only migration in a separate PR.");
  EXPECT_TRUE(rule->is_error());
}

}  // namespace
}  // namespace tarn
