#include "rules/changeset_rules.h"

#include <gtest/gtest.h>

#include "rules/test_support.h"

namespace tarn {
namespace {

using namespace tarn::testing;

std::vector<Diagnostic> check_changeset(const ChangesetRule& rule,
                                        const std::vector<const ParsedMigration*>& migrations,
                                        const std::vector<std::string>& changed_migrations,
                                        const std::vector<std::string>& changed_non_migrations,
                                        const Config& config = {}) {
  return rule.check(migrations, changed_migrations, changed_non_migrations, config);
}

// The everyday pattern forms are pinned end to end; these are the corners.
TEST(R008, AllowedPatternsMatchWholePathOrFileName) {
  struct Case {
    const char* name;
    std::vector<std::string> patterns, changed, reported;
  };
  const std::vector<Case> cases = {
      {"a file name with a backslash is not split", {"guide.txt"}, {"docs\\guide.txt"}, {"docs\\guide.txt"}},
      {"bad pattern skipped, later ones still tried", {"[", "*.cfg"}, {"setup.cfg", "a.toml"}, {"a.toml"}},
      {"case-sensitive", {"*.MD"}, {"README.md"}, {"README.md"}},
      {"no file name: only the whole path", {".."}, {"x/..", ".."}, {"x/.."}},
  };
  const auto rule = make_disallowed_file_changes();
  for (const Case& c : cases) {
    Config config;
    config.allowed_file_patterns = c.patterns;
    std::vector<std::string> paths;
    for (const auto& d : check_changeset(*rule, {}, {"/repo/app/migrations/0002_x.py"}, c.changed, config)) {
      paths.push_back(d.path);
    }
    EXPECT_EQ(paths, c.reported) << c.name;
  }
}

Operation state_only(uint64_t line) { return separate_op({}, true, line); }
Operation database_only(uint64_t line) { return separate_op({field_op(K::RemoveField, "book", {})}, false, line); }
Operation both_sides(uint64_t line) { return separate_op({field_op(K::RemoveField, "book", {})}, true, line); }
// Only top-level halves count.
Operation nested_half(uint64_t line) { return separate_op({database_only(line)}, true, line); }

TEST(R009, HalvesAcrossTheChangeSet) {
  using Maker = Operation (*)(uint64_t);
  struct Case {
    const char* name;
    std::vector<std::vector<Maker>> migrations;         // each operation on lines 2, 3, ...
    std::vector<std::pair<size_t, uint64_t>> reported;  // migration index, line
  };
  const std::vector<Case> cases = {
      {"a both-sided migration is not reported", {{state_only}, {both_sides}, {database_only}}, {{0, 2}, {2, 2}}},
      {"nested halves", {{state_only, nested_half}}, {}},
  };
  const auto rule = make_separate_db_state_same_pr();
  for (const Case& c : cases) {
    std::vector<ParsedMigration> parsed;
    for (const auto& makers : c.migrations) {
      std::vector<Operation> ops;
      for (Maker make : makers) ops.push_back(make(ops.size() + 2));
      parsed.push_back(
          make_migration(Framework::Django, std::move(ops), "/repo/m/000" + std::to_string(parsed.size())));
    }
    std::vector<const ParsedMigration*> refs;
    for (const auto& m : parsed) refs.push_back(&m);
    std::vector<std::pair<size_t, uint64_t>> reported;
    for (const Diagnostic& d : check_changeset(*rule, refs, {}, {})) {
      reported.emplace_back(d.path.back() - '0', d.span.start_line);  // the path ends in the index
    }
    EXPECT_EQ(reported, c.reported) << c.name;
  }
}

}  // namespace
}  // namespace tarn
