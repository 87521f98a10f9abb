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
