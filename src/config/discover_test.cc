#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include "config/config.h"
#include "testing/temp_tree.h"

namespace tarn {
namespace {

using testing::CwdGuard;
using testing::TempTree;
using Ids = std::set<std::string>;

std::string tarn_table(const char* id) { return std::string("[tool.tarn]\nselect = [\"") + id + "\"]\n"; }

// outer/ (above the work tree) holds a configuration; outer/repo is the work
// tree root; the search starts in outer/repo/a/b.
struct Project {
  TempTree t;
  std::string repo, a, cwd;
  Project() {
    t.write("outer/pyproject.toml", tarn_table("OUTER"));
    repo = t.mkdir("outer/repo");
    t.mkdir("outer/repo/.git");
    a = t.mkdir("outer/repo/a");
    cwd = t.mkdir("outer/repo/a/b");
    for (const std::string& d : {t.path("outer"), repo, a, cwd}) ::chmod(d.c_str(), 0755);
  }
  Ids selected() const {
    auto c = discover_config_from(cwd);
    EXPECT_TRUE(c.ok()) << c.error().message();
    return c.ok() ? c->select : Ids{"<error>"};
  }
};

TEST(DiscoverConfig, NearestConfiguredDirectoryUpToTheRootWins) {
  Project p;
  EXPECT_EQ(p.selected(), Ids{});  // the outer configuration lies above the root

  p.t.write("outer/repo/pyproject.toml", tarn_table("ROOT"));
  EXPECT_EQ(p.selected(), Ids{"ROOT"});

  // A pyproject.toml without the table is no configuration: the search goes on.
  p.t.write("outer/repo/a/pyproject.toml", "[tool.black]\n");
  EXPECT_EQ(p.selected(), Ids{"ROOT"});

  p.t.write("outer/repo/a/stillwater.toml", "select = [\"A\"]\n");
  EXPECT_EQ(p.selected(), Ids{"A"});

  p.t.write("outer/repo/a/b/stillwater.toml", "");
  EXPECT_EQ(p.selected(), Ids{});
}

TEST(DiscoverConfig, FartherMalformedConfigurationIsReadOnlyWhenReached) {
  Project p;
  p.t.write("outer/repo/pyproject.toml", "[tool.tarn\n");
  p.t.write("outer/repo/a/stillwater.toml", "select = [\"A\"]\n");
  EXPECT_EQ(p.selected(), Ids{"A"});

  std::filesystem::remove(p.t.path("outer/repo/a/stillwater.toml"));
  auto c = discover_config_from(p.cwd);
  ASSERT_FALSE(c.ok());
  EXPECT_EQ(c.error().message(), "Failed to parse configuration: " + p.repo + "/pyproject.toml");
}

TEST(DiscoverConfig, UntrustedRootTurnsTheUpwardSearchOff) {
  Project p;
  p.t.write("outer/repo/pyproject.toml", tarn_table("ROOT"));
  ASSERT_EQ(::chmod(p.repo.c_str(), 0775), 0);
  EXPECT_FALSE(is_trusted_root(p.repo));
  EXPECT_EQ(p.selected(), Ids{});
  ASSERT_EQ(::chmod(p.repo.c_str(), 0757), 0);
  EXPECT_EQ(p.selected(), Ids{});

  // Only the root is tested: writable directories below it do not matter.
  ASSERT_EQ(::chmod(p.repo.c_str(), 0755), 0);
  ASSERT_EQ(::chmod(p.a.c_str(), 0777), 0);
  EXPECT_TRUE(is_trusted_root(p.repo));
  EXPECT_EQ(p.selected(), Ids{"ROOT"});

  // Ownership: root and the effective user are trusted, anyone else is not.
  if (::geteuid() != 0) GTEST_SKIP() << "changing a directory's owner needs root";
  ASSERT_EQ(::chown(p.repo.c_str(), 0, 0), 0);
  EXPECT_EQ(p.selected(), Ids{"ROOT"});
  ASSERT_EQ(::chown(p.repo.c_str(), 12345, 12345), 0);
  EXPECT_FALSE(is_trusted_root(p.repo));
  EXPECT_EQ(p.selected(), Ids{});
}

TEST(DiscoverConfig, OwnConfigurationOnlyWithoutAnEnclosingWorkTree) {
  Project p;
  if (find_git_root(p.t.root())) GTEST_SKIP() << "the temporary directory lies inside a work tree";
  std::filesystem::remove_all(p.repo + "/.git");
  p.t.write("outer/repo/pyproject.toml", tarn_table("ROOT"));
  EXPECT_EQ(p.selected(), Ids{});
  p.t.write("outer/repo/a/b/pyproject.toml", tarn_table("CWD"));
  EXPECT_EQ(p.selected(), Ids{"CWD"});
}

TEST(DiscoverConfig, CwdThatIsTheRootIsSearchedAlone) {
  Project p;
  p.t.mkdir("outer/repo/a/b/.git");
  p.t.write("outer/repo/a/stillwater.toml", "select = [\"A\"]\n");
  EXPECT_EQ(p.selected(), Ids{});
}

TEST(DiscoverConfig, UsesTheCurrentDirectory) {
  Project p;
  p.t.write("outer/repo/stillwater.toml", "select = [\"ROOT\"]\n");
  CwdGuard guard(p.cwd);
  auto c = discover_config();
  ASSERT_TRUE(c.ok()) << c.error().message();
  EXPECT_EQ(c->select, Ids{"ROOT"});
}

TEST(FindGitRoot, WhatCountsAsAGitEntry) {
  TempTree t;
  if (find_git_root(t.root())) GTEST_SKIP() << "the temporary directory lies inside a work tree";
  const std::string deep = t.mkdir("w/x/y");
  EXPECT_FALSE(find_git_root(deep));

  t.symlink(t.path("missing"), "w/x/.git");  // dangling: not an entry
  EXPECT_FALSE(find_git_root(deep));

  t.write("w/.git", "gitdir: elsewhere\n");  // a file, as in a linked work tree
  EXPECT_EQ(find_git_root(deep), t.path("w"));

  std::filesystem::remove(t.path("w/x/.git"));
  t.symlink(t.path("w"), "w/x/.git");  // a link to an existing entry
  EXPECT_EQ(find_git_root(deep), t.path("w/x"));

  t.mkdir("w/x/y/.git");
  EXPECT_EQ(find_git_root(deep), deep);
}

TEST(IsTrustedRoot, MissingRootIsNotTrusted) {
  TempTree t;
  EXPECT_FALSE(is_trusted_root(t.path("missing")));
}

}  // namespace
}  // namespace tarn
