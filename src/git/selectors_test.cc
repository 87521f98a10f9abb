#include "git/selectors.h"

#include <gtest/gtest.h>

#include "testing/temp_tree.h"

namespace tarn {
namespace {

TEST(PathWithin, ComponentPrefixes) {
  const std::tuple<const char*, const char*, bool> rows[] = {
      {"/x/y", ".", true}, {"a/b", "./", true},  {"a/./b", "a/b/", true}, {"ab", "a", false},
      {"a", "a/b", false}, {"/a/b", "/a", true}, {"a/b", "/a", false},
  };
  for (const auto& [path, selector, within] : rows) EXPECT_EQ(path_within(path, selector), within) << path << " in " << selector;
}

TEST(NormalizePath, CanonicalWhenItExistsElseReRooted) {
  testing::TempTree t;
  const std::string real = t.mkdir("real");
  t.write("real/x.py");
  const std::string base = t.symlink(real, "base");
  const std::string other = t.mkdir("other");
  const std::pair<std::string, std::string> rows[] = {
      {base + "/x.py", real + "/x.py"},
      {base + "/gone.py", real + "/gone.py"},
      {base, real},
      {"rel/gone.py", real + "/rel/gone.py"},
      {other + "/gone.py", other + "/gone.py"},
  };
  for (const auto& [path, expected] : rows) EXPECT_EQ(normalize_path(path, base, real), expected) << path;
}

// The work tree is reached through a symbolic link, so that its reported and
// canonical forms differ; the search runs from real/app.
TEST(CliPathSelectors, CanonicalInsideTheWorkTreeOrRefusedAsTyped) {
  testing::TempTree t;
  t.mkdir("real/app/migrations");
  t.mkdir("real/docs");
  t.mkdir("outside");
  t.symlink(t.path("real"), "link");
  const std::string base = t.path("link/"), canonical_base = t.path("real"), cwd = t.path("real/app");
  const std::vector<std::string> entries = {t.path("real/app/migrations/0003_deleted.py"), t.path("real/old/0001_x.py")};
  const SelectorInputs in{cwd, base, canonical_base, entries};

  const std::pair<std::string, std::string> selected[] = {
      {"../docs/", t.path("real/docs")},
      {t.path("link/docs"), t.path("real/docs")},
      // missing paths must cover a changed entry; the reported form is re-rooted
      {"migrations/0003_deleted.py", t.path("real/app/migrations/0003_deleted.py")},
      {t.path("link/old"), t.path("real/old")},
  };
  for (const auto& [p, expected] : selected) {
    auto got = cli_path_selectors({p}, in);
    ASSERT_TRUE(got.ok()) << p << ": " << got.error().message();
    EXPECT_EQ(*got, std::vector<std::string>{expected}) << p;
  }
  for (const std::string& p : {std::string("../../outside"), t.path("real-not")}) {
    auto got = cli_path_selectors({p}, in);
    ASSERT_FALSE(got.ok()) << p;
    EXPECT_EQ(got.error().kind, ErrorKind::InvalidPath);
    EXPECT_EQ(got.error().message(), "Invalid path: " + p);
  }

  auto all = cli_path_selectors({"migrations", "."}, in);
  ASSERT_TRUE(all.ok());
  EXPECT_EQ(*all, (std::vector<std::string>{t.path("real/app/migrations"), t.path("real/app")}));
  auto failed = cli_path_selectors({"migrations", "gone", t.path("outside")}, in);
  ASSERT_FALSE(failed.ok());
  EXPECT_EQ(failed.error().message(), "Invalid path: gone");
}

}  // namespace
}  // namespace tarn
