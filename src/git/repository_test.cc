#include "git/repository.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>

#include "testing/temp_tree.h"

namespace tarn {
namespace {

using testing::CwdGuard;
using testing::TempRepo;

// main moves on after feature branched off, so only a diff from the merge
// base leaves its commit out; untracked files and unstaged edits never count.
// A file that became a symbolic link is one change, not a deletion and an
// addition of the same path, on both sides.
TEST(ChangedFiles, FromTheMergeBaseInDiffOrder) {
  TempRepo repo;
  repo.write("app/migrations/0001_initial.py", "one\n");
  repo.write("app/migrations/0002_mod.py", "two\n");
  repo.write("app/migrations/0003_del.py", "three\n");
  repo.write("docs/readme.md", "docs\n");
  repo.write("docs/guide.md", "guide\n");
  repo.commit_all("base");
  repo.git("checkout -q -b feature");
  repo.git("checkout -q main");
  repo.commit_file("app/migrations/0009_main_only.py", "main\n");
  repo.git("checkout -q feature");
  repo.write("app/migrations/0002_mod.py", "two changed\n");
  repo.remove("app/migrations/0003_del.py");
  repo.write("app/migrations/0004_new.py", "four\n");
  repo.remove("docs/guide.md");
  repo.tmp().symlink("readme.md", "repo/docs/guide.md");
  repo.commit_all("feature");
  repo.write("app/migrations/0005_untracked.py", "untracked\n");
  repo.write("docs/readme.md", "unstaged edit\n");

  CwdGuard cwd(repo.dir());
  auto opened = open_repository();
  ASSERT_TRUE(opened.ok()) << opened.error().message();
  git_repository* r = opened->get();
  auto all = changed_files(r, "main", false);
  ASSERT_TRUE(all.ok()) << all.error().message();
  EXPECT_NE(all->side.tree, nullptr);
  EXPECT_EQ(all->side.index, nullptr);
  EXPECT_EQ(all->changes, (std::vector<Change>{{"app/migrations/0002_mod.py", ChangeKind::Modified},
                                               {"app/migrations/0003_del.py", ChangeKind::Deleted},
                                               {"app/migrations/0004_new.py", ChangeKind::Added},
                                               {"docs/guide.md", ChangeKind::Modified}}));

  // Staged mode compares the index, where a file can also be dropped; one
  // added with intent to add is not staged yet.
  repo.git("add app/migrations/0005_untracked.py");
  repo.write("app/migrations/0006_intent.py", "six\n");
  repo.git("add -N app/migrations/0006_intent.py");
  repo.git("rm -q --cached app/migrations/0001_initial.py");
  repo.remove("app/migrations/0004_new.py");
  repo.tmp().symlink("0002_mod.py", "repo/app/migrations/0004_new.py");
  repo.git("add app/migrations/0004_new.py");
  auto staged = changed_files(r, "HEAD", true);
  ASSERT_TRUE(staged.ok()) << staged.error().message();
  EXPECT_NE(staged->side.index, nullptr);
  EXPECT_EQ(staged->changes, (std::vector<Change>{{"app/migrations/0001_initial.py", ChangeKind::Deleted},
                                                  {"app/migrations/0004_new.py", ChangeKind::Modified},
                                                  {"app/migrations/0005_untracked.py", ChangeKind::Added}}));
}

// Sets one environment variable for a scope.
class EnvGuard {
 public:
  EnvGuard(const char* name, const char* value) : name_(name) {
    if (const char* old = std::getenv(name)) old_ = old;
    setenv(name, value, 1);
  }
  ~EnvGuard() { old_ ? setenv(name_, old_->c_str(), 1) : unsetenv(name_); }
  EnvGuard(const EnvGuard&) = delete;
  EnvGuard& operator=(const EnvGuard&) = delete;

 private:
  const char* name_;
  std::optional<std::string> old_;
};

// The index a pre-commit hook is handed in GIT_INDEX_FILE is pinned end to
// end; an empty name means the repository's own index, a directory is refused.
TEST(ChangedFiles, StagedSideIsTheIndexGitIndexFileNames) {
  TempRepo repo;
  repo.commit_file("app/migrations/0001_initial.py", "one\n");
  repo.write("app/migrations/0002_next.py", "two\n");
  repo.git("add -A");
  CwdGuard cwd(repo.dir());
  auto opened = open_repository();
  ASSERT_TRUE(opened.ok()) << opened.error().message();
  {
    const EnvGuard env("GIT_INDEX_FILE", "");
    auto set = changed_files(opened->get(), "HEAD", true);
    ASSERT_TRUE(set.ok()) << set.error().message();
    EXPECT_EQ(set->changes, (std::vector<Change>{{"app/migrations/0002_next.py", ChangeKind::Added}}));
  }
  const EnvGuard env("GIT_INDEX_FILE", ".git");
  auto set = changed_files(opened->get(), "HEAD", true);
  ASSERT_FALSE(set.ok());
  EXPECT_TRUE(set.error().message().starts_with("Git error: Failed to read git index '.git': not a regular file"))
      << set.error().message();
}

TEST(MigrationPath, NeedsAPythonFileInAMigrationLayout) {
  const std::pair<const char*, bool> cases[] = {
      {"app/migrations/0001_initial.py", true}, {"app/migrations/__init__.py", false},
      {"app/migrations/0001_initial.PY", false}, {"app/migrations/.py", false}, {"app/models.py", false},
  };
  for (const auto& [path, migration] : cases) EXPECT_EQ(is_migration_path(path), migration) << path;
}

}  // namespace
}  // namespace tarn
