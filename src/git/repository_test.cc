#include "git/repository.h"

#include <gtest/gtest.h>

#include "testing/temp_tree.h"

namespace tarn {
namespace {

using testing::CwdGuard;
using testing::TempRepo;

// main moves on after feature branched off, so only a diff from the merge
// base leaves its commit out; untracked files and unstaged edits never count.
TEST(ChangedFiles, FromTheMergeBaseInDiffOrder) {
  TempRepo repo;
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
  repo.write("src/app.py", "app\n");
  repo.git("add -A");
  repo.git("commit -q -m feature");
  repo.write("app/migrations/0005_untracked.py", "untracked\n");
  repo.write("docs/readme.md", "unstaged edit\n");

  CwdGuard cwd(repo.dir());
  auto opened = open_repository();
  ASSERT_TRUE(opened.ok()) << opened.error().message();
  git_repository* r = opened->get();
  auto all = changed_files(r, "main", false);
  ASSERT_TRUE(all.ok()) << all.error().message();
  EXPECT_EQ(*all, (std::vector<Change>{{"app/migrations/0001_initial.py", ChangeKind::Deleted},
                                       {"app/migrations/0001_renamed.py", ChangeKind::Added},
                                       {"app/migrations/0002_mod.py", ChangeKind::Modified},
                                       {"app/migrations/0003_del.py", ChangeKind::Deleted},
                                       {"app/migrations/0004_new.py", ChangeKind::Added},
                                       {"app/migrations/__init__.py", ChangeKind::Modified},
                                       {"src/app.py", ChangeKind::Added}}));

  auto migrations = select_changed_files(r, *all);
  ASSERT_TRUE(migrations.ok());
  EXPECT_EQ(*migrations, (std::vector<std::string>{repo.at("app/migrations/0001_renamed.py"),
                                                   repo.at("app/migrations/0002_mod.py"),
                                                   repo.at("app/migrations/0004_new.py")}));
  auto others = select_changed_files(r, *all, true);
  ASSERT_TRUE(others.ok());
  EXPECT_EQ(*others, (std::vector<std::string>{repo.at("app/migrations/__init__.py"), repo.at("src/app.py")}));

  // Staged mode compares the index, where a file can also be dropped.
  repo.git("add app/migrations/0005_untracked.py");
  repo.git("rm -q --cached src/app.py");
  auto staged = changed_files(r, "HEAD", true);
  ASSERT_TRUE(staged.ok()) << staged.error().message();
  EXPECT_EQ(*staged, (std::vector<Change>{{"app/migrations/0005_untracked.py", ChangeKind::Added},
                                          {"src/app.py", ChangeKind::Deleted}}));
}

TEST(MigrationPath, NeedsAPythonFileInAMigrationLayout) {
  const std::pair<const char*, bool> cases[] = {
      {"app/migrations/0001_initial.py", true}, {"alembic/versions/abc_add.py", true},
      {"migrations/models/1_2024_init.py", true}, {"app/migrations/__init__.py", false},
      {"app/migrations/0001_initial.PY", false}, {"app/migrations/.py", false},
      {"app/models.py", false},
  };
  for (const auto& [path, migration] : cases) EXPECT_EQ(is_migration_path(path), migration) << path;
}

}  // namespace
}  // namespace tarn
