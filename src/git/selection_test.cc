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

// A path gone from the work tree still names the deleted migrations of the
// change-set list.
TEST(Selection, DeletedPathsNameChangeSetEntries) {
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
  expect_paths(collect_changed_migrations(*context, {"old"}, {}), {repo.at("old/migrations/0001_gone.py")},
               "migrations");

  // "." from the work tree root keeps every entry, even one outside it.
  const Paths foreign = {"/elsewhere/x.py", repo.at("app/migrations/0002_new.py")};
  expect_paths(restrict_to_cli_paths(foreign, {"."}, repo.workdir()), foreign, "from the root");
  CwdGuard app(repo.at("app"));
  expect_paths(restrict_to_cli_paths(foreign, {"."}, repo.workdir()), {repo.at("app/migrations/0002_new.py")},
               "from a subdirectory");
}

}  // namespace
}  // namespace tarn
