#include "git/repository.h"

#include <gtest/gtest.h>

#include "git/test_repo.h"

namespace tarn {
namespace {

using testing::CwdGuard;
using testing::TempDir;
using testing::TempRepo;

constexpr const char* kInvalidRefTail =
    ". Specify a valid branch, tag, or commit SHA; for origin/* refs, fetch the remote first (shallow checkouts may "
    "omit them)";

// main: the merge base, then one more commit; feature (checked out): the
// changes under test, plus an untracked file and an unstaged edit.
class ChangeSetTest : public ::testing::Test {
 protected:
  void SetUp() override {
    repo.write("app/migrations/__init__.py", "");
    repo.write("app/migrations/0001_initial.py", "one\n");
    repo.write("app/migrations/0002_mod.py", "two\n");
    repo.write("app/migrations/0003_del.py", "three\n");
    repo.write("docs/readme.md", "docs\n");
    repo.git("add -A");
    repo.git("commit -q -m base");
    repo.git("checkout -q -b feature");
    repo.git("checkout -q main");
    repo.commit_file("app/migrations/0009_main_only.py", "main\n");
    repo.git("checkout -q feature");
    repo.git("mv app/migrations/0001_initial.py app/migrations/0001_renamed.py");
    repo.write("app/migrations/0002_mod.py", "two changed\n");
    repo.git("rm -q app/migrations/0003_del.py");
    repo.write("app/migrations/0004_new.py", "four\n");
    repo.write("app/migrations/__init__.py", "# package\n");
    repo.write("docs/readme.md", "docs changed\n");
    repo.write("src/app.py", "app\n");
    repo.git("add -A");
    repo.git("commit -q -m feature");
    repo.write("app/migrations/0005_untracked.py", "untracked\n");
    repo.write("docs/readme.md", "unstaged edit\n");
  }

  Result<std::vector<Change>> changes(const std::string& ref, bool staged) {
    CwdGuard cwd(repo.dir());
    auto opened = open_repository();
    if (!opened) return opened.error();
    return changed_files(opened->get(), ref, staged);
  }

  TempRepo repo;
};

TEST_F(ChangeSetTest, DiffAgainstBranchListsCommittedChangesInDiffOrder) {
  auto got = changes("main", false);
  ASSERT_TRUE(got.ok()) << got.error().message();
  const std::vector<Change> expected = {
      {"app/migrations/0001_initial.py", ChangeKind::Deleted},
      {"app/migrations/0001_renamed.py", ChangeKind::Added},
      {"app/migrations/0002_mod.py", ChangeKind::Modified},
      {"app/migrations/0003_del.py", ChangeKind::Deleted},
      {"app/migrations/0004_new.py", ChangeKind::Added},
      {"app/migrations/__init__.py", ChangeKind::Modified},
      {"docs/readme.md", ChangeKind::Modified},
      {"src/app.py", ChangeKind::Added},
  };
  EXPECT_EQ(*got, expected);
}

TEST_F(ChangeSetTest, SplitsMigrationsFromOtherFiles) {
  CwdGuard cwd(repo.dir());
  auto opened = open_repository();
  ASSERT_TRUE(opened.ok());
  git_repository* r = opened->get();
  auto all = changed_files(r, "main", false);
  ASSERT_TRUE(all.ok());

  auto migrations = select_changed_files(r, *all);
  ASSERT_TRUE(migrations.ok());
  EXPECT_EQ(*migrations, (std::vector<std::string>{repo.at("app/migrations/0001_renamed.py"),
                                                   repo.at("app/migrations/0002_mod.py"),
                                                   repo.at("app/migrations/0004_new.py")}));

  auto others = select_changed_files(r, *all, true);
  ASSERT_TRUE(others.ok());
  EXPECT_EQ(*others, (std::vector<std::string>{repo.at("app/migrations/__init__.py"), repo.at("docs/readme.md"),
                                               repo.at("src/app.py")}));
}

TEST_F(ChangeSetTest, StagedModeComparesTheIndex) {
  repo.write("app/migrations/0006_staged.py", "six\n");
  repo.git("add app/migrations/0006_staged.py");
  repo.git("rm -q --cached src/app.py");

  auto against_head = changes("HEAD", true);
  ASSERT_TRUE(against_head.ok()) << against_head.error().message();
  EXPECT_EQ(*against_head, (std::vector<Change>{{"app/migrations/0006_staged.py", ChangeKind::Added},
                                                {"src/app.py", ChangeKind::Deleted}}));

  auto committed_only = changes("HEAD", false);
  ASSERT_TRUE(committed_only.ok());
  EXPECT_TRUE(committed_only->empty());

  auto against_main = changes("main", true);
  ASSERT_TRUE(against_main.ok());
  EXPECT_EQ(against_main->size(), 8u);
  EXPECT_EQ((*against_main)[5], (Change{"app/migrations/0006_staged.py", ChangeKind::Added}));
}

TEST_F(ChangeSetTest, ReferenceFailures) {
  auto missing = changes("no-such-branch", false);
  ASSERT_FALSE(missing.ok());
  EXPECT_EQ(missing.error().kind, ErrorKind::InvalidGitRef);
  EXPECT_EQ(missing.error().message(), std::string("Invalid git reference: no-such-branch") + kInvalidRefTail);

  auto tree = changes("HEAD^{tree}", false);
  ASSERT_FALSE(tree.ok());
  EXPECT_EQ(tree.error().kind, ErrorKind::Git);
  EXPECT_TRUE(tree.error().message().starts_with("Git error: Reference 'HEAD^{tree}' does not point to a commit: "))
      << tree.error().message();

  auto malformed = changes("main@{", false);
  ASSERT_FALSE(malformed.ok());
  EXPECT_TRUE(malformed.error().message().starts_with("Git error: Failed to resolve reference 'main@{': "))
      << malformed.error().message();
}

TEST_F(ChangeSetTest, UnrelatedHistoryAndUnbornHead) {
  repo.git("checkout -q --orphan lonely");
  auto unborn = changes("main", false);
  ASSERT_FALSE(unborn.ok());
  const std::string message = unborn.error().message();
  EXPECT_TRUE(message.starts_with("Git error: Failed to get HEAD: ")) << message;
  EXPECT_NE(message.find("refs/heads/lonely"), std::string::npos) << message;
  EXPECT_TRUE(message.ends_with("; class=Reference (4); code=UnbornBranch (-9)")) << message;

  repo.git("commit -q -m lonely");
  auto unrelated = changes("main", false);
  ASSERT_FALSE(unrelated.ok());
  EXPECT_TRUE(unrelated.error().message().starts_with("Git error: Failed to find merge-base for 'main' and HEAD: "))
      << unrelated.error().message();
}

TEST(OpenRepository, FindsTheRepositoryFromASubdirectory) {
  TempRepo repo;
  repo.commit_file("app/migrations/0001_initial.py", "x\n");
  CwdGuard cwd(repo.at("app/migrations"));
  auto opened = open_repository();
  ASSERT_TRUE(opened.ok()) << opened.error().message();
  auto workdir = repository_workdir(opened->get());
  ASSERT_TRUE(workdir.ok());
  EXPECT_EQ(*workdir, repo.workdir());
}

TEST(OpenRepository, OutsideAnyRepository) {
  TempDir dir;
  CwdGuard cwd(dir.path());
  auto opened = open_repository();
  ASSERT_FALSE(opened.ok());
  EXPECT_EQ(opened.error().kind, ErrorKind::Git);
  // Worded the same whichever libgit2 release is linked.
  EXPECT_EQ(opened.error().message(),
            "Git error: Failed to find git repository: could not find repository at '.'; class=Repository (6); "
            "code=NotFound (-3)");
}

TEST(OpenRepository, BareRepositoryHasNoWorkTree) {
  TempRepo bare("--bare");
  CwdGuard cwd(bare.dir());
  auto opened = open_repository();
  ASSERT_TRUE(opened.ok()) << opened.error().message();
  auto workdir = repository_workdir(opened->get());
  ASSERT_FALSE(workdir.ok());
  EXPECT_EQ(workdir.error().message(), "Git error: Repository has no working directory (bare repo)");
  auto selected = select_changed_files(opened->get(), {{"app/migrations/0001_x.py", ChangeKind::Added}});
  ASSERT_FALSE(selected.ok());
  EXPECT_EQ(selected.error().message(), "Git error: Repository has no working directory (bare repo)");
}

TEST(MigrationPath, NeedsAPythonFileInAMigrationLayout) {
  const std::pair<const char*, bool> cases[] = {
      {"app/migrations/0001_initial.py", true},
      {"alembic/versions/abc_add.py", true},
      {"migrations/models/1_2024_init.py", true},
      {"app/migrations/__init__.py", false},
      {"app/migrations/0001_initial.PY", false},
      {"app/migrations/.py", false},
      {"app/models.py", false},
      {"docs/readme.md", false},
  };
  for (const auto& [path, migration] : cases) EXPECT_EQ(is_migration_path(path), migration) << path;
}

}  // namespace
}  // namespace tarn
