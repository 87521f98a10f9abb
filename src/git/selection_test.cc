#include "git/selection.h"

#include <gtest/gtest.h>

#include "git/test_repo.h"

namespace tarn {
namespace {

using testing::CwdGuard;
using testing::TempRepo;
using Paths = std::vector<std::string>;

// main holds the merge base; feature (checked out) changes it.
class SelectionTest : public ::testing::Test {
 protected:
  void SetUp() override {
    repo.write("app/migrations/__init__.py", "");
    repo.write("app/migrations/0001_initial.py", "one\n");
    repo.write("app/migrations/0002_mod.py", "two\n");
    repo.write("old/migrations/0001_gone.py", "gone\n");
    repo.write("docs/readme.md", "docs\n");
    repo.git("add -A");
    repo.git("commit -q -m base");
    repo.git("checkout -q -b feature");
    repo.remove("app/migrations/0001_initial.py");
    repo.remove("old");
    repo.write("app/migrations/0002_mod.py", "two changed\n");
    repo.write("app/migrations/0004_new.py", "four\n");
    repo.write("app/migrations/__init__.py", "# package\n");
    repo.write("docs/readme.md", "docs changed\n");
    repo.write("src/app.py", "app\n");
    repo.git("add -A");
    repo.git("commit -q -m feature");

    CwdGuard cwd(repo.dir());
    auto opened = open_diff_context("main", false);
    ASSERT_TRUE(opened.ok()) << opened.error().message();
    context = std::move(*opened);
  }

  Result<Paths> files(const Paths& cli, const Paths& exclude = {}) {
    Config config;
    config.exclude = exclude;
    return select_git_files(context, cli, config);
  }
  Result<Paths> migrations(const Paths& cli, const Paths& exclude = {}) {
    return collect_changed_migrations(context, cli, exclude);
  }
  Result<Paths> others(const Paths& cli, const Paths& exclude = {}) {
    return collect_changed_non_migrations(context, cli, exclude);
  }
  std::string at(const std::string& rel) const { return repo.at(rel); }

  TempRepo repo;
  DiffContext context;
};

void expect_paths(const Result<Paths>& got, const Paths& expected, const std::string& what) {
  ASSERT_TRUE(got.ok()) << what << ": " << got.error().message();
  EXPECT_EQ(*got, expected) << what;
}

void expect_error(const Result<Paths>& got, const std::string& message, const std::string& what) {
  ASSERT_FALSE(got.ok()) << what;
  EXPECT_EQ(got.error().message(), message) << what;
}

TEST_F(SelectionTest, ContextHoldsTheChangeSet) {
  EXPECT_EQ(context.workdir, repo.workdir());
  EXPECT_FALSE(context.staged);
  EXPECT_EQ(context.changes.size(), 7u);
}

TEST_F(SelectionTest, WholeWorkTreeFromItsRoot) {
  CwdGuard cwd(repo.dir());
  expect_paths(files({"."}), {at("app/migrations/0002_mod.py"), at("app/migrations/0004_new.py")}, "files");
  expect_paths(migrations({"."}),
               {at("app/migrations/0001_initial.py"), at("app/migrations/0002_mod.py"),
                at("app/migrations/0004_new.py"), at("old/migrations/0001_gone.py")},
               "migrations");
  expect_paths(others({"./"}), {"app/migrations/__init__.py", "docs/readme.md", "src/app.py"}, "others");
}

TEST_F(SelectionTest, SubdirectoryLimitsEveryListButKeepsTheirForms) {
  CwdGuard cwd(at("app"));
  expect_paths(files({"."}), {at("app/migrations/0002_mod.py"), at("app/migrations/0004_new.py")}, "files");
  expect_paths(migrations({"."}),
               {at("app/migrations/0001_initial.py"), at("app/migrations/0002_mod.py"),
                at("app/migrations/0004_new.py")},
               "migrations");
  expect_paths(others({"."}), {"app/migrations/__init__.py"}, "others");

  CwdGuard docs(at("docs"));
  expect_paths(files({"."}), {}, "files from docs");
  expect_paths(others({"."}), {"docs/readme.md"}, "others from docs");
  expect_paths(others({"../src/app.py", ".."}), {"app/migrations/__init__.py", "docs/readme.md", "src/app.py"},
               "others, overlapping paths");
}

TEST_F(SelectionTest, CommandLinePathsKeepDiffOrderWithoutDuplicates) {
  CwdGuard cwd(repo.dir());
  expect_paths(files({"src", "app/migrations/0004_new.py", "app", at("app/migrations")}),
               {at("app/migrations/0002_mod.py"), at("app/migrations/0004_new.py")}, "files");
  expect_paths(files({"app/migrations/0004_new.py"}), {at("app/migrations/0004_new.py")}, "one file");
}

TEST_F(SelectionTest, PathsGoneFromDiskMustNameRestrictedEntries) {
  CwdGuard cwd(repo.dir());
  // Deleted in the change set: not analysed, so naming it fails for the
  // analysis list but works for the changeset list.
  expect_error(files({"app/migrations/0001_initial.py"}), "Invalid path: app/migrations/0001_initial.py", "files");
  expect_paths(migrations({"app/migrations/0001_initial.py"}), {at("app/migrations/0001_initial.py")}, "deleted");
  expect_error(files({"old"}), "Invalid path: old", "deleted directory");
  expect_paths(migrations({"old"}), {at("old/migrations/0001_gone.py")}, "deleted directory");

  // Removed from the work tree only: still in HEAD, still analysed.
  repo.remove("app/migrations/0002_mod.py");
  expect_paths(files({"app/migrations/0002_mod.py"}), {at("app/migrations/0002_mod.py")}, "removed from disk");

  expect_error(files({"no/such/path"}), "Invalid path: no/such/path", "nothing named");
  expect_error(restrict_to_cli_paths({}, {"no/such/path"}, repo.workdir()), "Invalid path: no/such/path",
               "empty list");
}

TEST_F(SelectionTest, PathsOutsideTheWorkTree) {
  CwdGuard cwd(repo.dir());
  expect_error(files({"/tmp"}), "Invalid path: /tmp", "files");
  expect_error(migrations({"app", "../.."}), "Invalid path: ../..", "migrations");
}

TEST_F(SelectionTest, WholeTreeShortcutNeedsTheRoot) {
  const Paths foreign = {"/elsewhere/x.py", at("app/migrations/0002_mod.py")};
  {
    CwdGuard cwd(repo.dir());
    expect_paths(restrict_to_cli_paths(foreign, {"."}, repo.workdir()), foreign, "from the root");
  }
  CwdGuard cwd(at("app"));
  expect_paths(restrict_to_cli_paths(foreign, {"."}, repo.workdir()), {at("app/migrations/0002_mod.py")},
               "from a subdirectory");
}

TEST_F(SelectionTest, ExcludePatternsApplyToChangedFiles) {
  CwdGuard cwd(at("app"));
  expect_paths(files({".."}, {"app/migrations/0002*"}), {at("app/migrations/0004_new.py")}, "files");
  expect_paths(migrations({".."}, {"*/0001_*"}), {at("app/migrations/0002_mod.py"), at("app/migrations/0004_new.py")},
               "migrations");
  expect_paths(others({".."}, {"docs/*", "*.md"}), {"app/migrations/__init__.py", "src/app.py"}, "others");

  const Paths invalid = {"*.py", "["};
  for (const auto& bad : {files({".."}, invalid), migrations({".."}, invalid), others({".."}, invalid)}) {
    ASSERT_FALSE(bad.ok());
    EXPECT_EQ(bad.error().kind, ErrorKind::InvalidGlob);
  }
}

TEST(SelectionBare, ChangedMigrationsNeedAWorkTree) {
  TempRepo bare("--bare");
  CwdGuard cwd(bare.dir());
  auto repo = open_repository();
  ASSERT_TRUE(repo.ok());
  DiffContext context{"/srv/app/", {{"app/migrations/0001_x.py", ChangeKind::Added}}, std::move(*repo), false};
  expect_error(collect_changed_migrations(context, {"."}, {}),
               "Git error: Repository has no working directory (bare repo)", "migrations");
  expect_error(collect_changed_non_migrations(context, {"."}, {}),
               "Git error: Repository has no working directory (bare repo)", "others");
}

}  // namespace
}  // namespace tarn
