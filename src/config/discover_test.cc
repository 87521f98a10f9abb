#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include "config/config.h"
#include "testing/temp_tree.h"

namespace tarn {
namespace {

using Ids = std::set<std::string>;

// repo is the work tree root and holds a configuration; the search starts
// in repo/a/b.
TEST(DiscoverConfig, UntrustedRootTurnsTheUpwardSearchOff) {
  testing::TempTree t;
  t.write("repo/pyproject.toml", "[tool.tarn]\nselect = [\"ROOT\"]\n");
  t.mkdir("repo/.git");
  const std::string repo = t.path("repo");
  const std::string a = t.mkdir("repo/a"), cwd = t.mkdir("repo/a/b");
  for (const std::string& d : {repo, a, cwd}) ASSERT_EQ(::chmod(d.c_str(), 0755), 0);
  const auto selected = [&] {
    auto c = discover_config_from(cwd);
    EXPECT_TRUE(c.ok()) << c.error().message();
    return c.ok() ? c->select : Ids{"<error>"};
  };
  EXPECT_FALSE(is_trusted_root(t.path("missing")));

  for (const mode_t mode : {0775, 0757}) {
    ASSERT_EQ(::chmod(repo.c_str(), mode), 0);
    EXPECT_FALSE(is_trusted_root(repo)) << mode;
    EXPECT_EQ(selected(), Ids{}) << mode;
  }
  // Only the root is tested: writable directories below it do not matter.
  ASSERT_EQ(::chmod(repo.c_str(), 0755), 0);
  ASSERT_EQ(::chmod(a.c_str(), 0777), 0);
  EXPECT_TRUE(is_trusted_root(repo));
  EXPECT_EQ(selected(), Ids{"ROOT"});

  // Ownership: root and the effective user are trusted, anyone else is not.
  if (::geteuid() != 0) GTEST_SKIP() << "changing a directory's owner needs root";
  ASSERT_EQ(::chown(repo.c_str(), 0, 0), 0);
  EXPECT_EQ(selected(), Ids{"ROOT"});
  ASSERT_EQ(::chown(repo.c_str(), 12345, 12345), 0);
  EXPECT_FALSE(is_trusted_root(repo));
  EXPECT_EQ(selected(), Ids{});
}

}  // namespace
}  // namespace tarn
