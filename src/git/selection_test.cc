#include "git/selection.h"

#include <gtest/gtest.h>

#include "testing/temp_tree.h"

namespace tarn {
namespace {

using testing::CwdGuard;
using testing::TempRepo;
using Paths = std::vector<std::string>;

void expect_paths(const Result<Paths>& got, const Paths& expected, const std::string& what) {
  ASSERT_TRUE(got.ok()) << what << ": " << got.error().message();
  EXPECT_EQ(*got, expected) << what;
}

void expect_error(const Result<Paths>& got, const std::string& message, const std::string& what) {
  ASSERT_FALSE(got.ok()) << what;
  EXPECT_EQ(got.error().message(), message) << what;
}

// A path gone from the change set names nothing to analyse, yet still names
// the deleted migrations of the change-set list.
TEST(Selection, DeletedPathsNameOnlyChangeSetEntries) {
  TempRepo repo;
  repo.write("app/migrations/0001_initial.py", "one\n");
  repo.write("old/migrations/0001_gone.py", "gone\n");
  repo.commit_all("base");
  repo.git("checkout -q -b feature");
  repo.remove("old");
  repo.write("app/migrations/0002_new.py", "two\n");
  repo.commit_all("feature");
  CwdGuard cwd(repo.dir());
  auto context = open_diff_context("main", false);
  ASSERT_TRUE(context.ok()) << context.error().message();

  expect_error(select_git_files(*context, {"old"}, Config{}), "Invalid path: old", "files");
  expect_paths(collect_changed_migrations(*context, {"old"}, {}), {repo.at("old/migrations/0001_gone.py")},
               "migrations");
  expect_error(restrict_to_cli_paths({}, {"no/such/path"}, repo.workdir()), "Invalid path: no/such/path",
               "empty list");

  // "." from the work tree root keeps every entry, even one outside it.
  const Paths foreign = {"/elsewhere/x.py", repo.at("app/migrations/0002_new.py")};
  expect_paths(restrict_to_cli_paths(foreign, {"."}, repo.workdir()), foreign, "from the root");
  CwdGuard app(repo.at("app"));
  expect_paths(restrict_to_cli_paths(foreign, {"."}, repo.workdir()), {repo.at("app/migrations/0002_new.py")},
               "from a subdirectory");
}

TEST(Selection, ChangeSetListsNeedAWorkTree) {
  TempRepo bare("--bare");
  CwdGuard cwd(bare.dir());
  auto repo = open_repository();
  ASSERT_TRUE(repo.ok());
  DiffContext context{"/srv/app/", {{"app/migrations/0001_x.py", ChangeKind::Added}}, std::move(*repo), false, {}};
  for (const auto& got : {collect_changed_migrations(context, {"."}, {}),
                          collect_changed_non_migrations(context, {"."}, {})}) {
    expect_error(got, "Git error: Repository has no working directory (bare repo)", "bare");
  }
}

}  // namespace
}  // namespace tarn
