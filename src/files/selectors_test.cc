#include "files/selectors.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "git/test_repo.h"

namespace tarn {
namespace {

using testing::TempDir;

// A work tree reached through a symbolic link, so that its reported and
// canonical forms differ.
class SelectorTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::filesystem::create_directories(tmp / "real/app/migrations");
    std::filesystem::create_directories(tmp / "real/docs");
    std::filesystem::create_directories(tmp / "outside");
    std::filesystem::create_symlink(tmp / "real", tmp / "link");
  }
  Result<std::string> select(const std::string& p) {
    return cli_path_selectors_next(p, SelectorInputs{cwd, base, canonical_base, entries});
  }

  TempDir tmp;
  std::string base = tmp / "link/";
  std::string canonical_base = tmp / "real";
  std::string cwd = tmp / "real/app";
  std::vector<std::string> entries = {tmp / "real/app/migrations/0003_deleted.py", tmp / "real/old/0001_x.py"};
};

TEST_F(SelectorTest, ExistingPathsBecomeCanonical) {
  const std::pair<std::string, std::string> cases[] = {
      {".", tmp / "real/app"},
      {"migrations", tmp / "real/app/migrations"},
      {"../docs/", tmp / "real/docs"},
      {tmp / "link/docs", tmp / "real/docs"},
      {tmp / "real", tmp / "real"},
  };
  for (const auto& [p, expected] : cases) {
    auto got = select(p);
    ASSERT_TRUE(got.ok()) << p << ": " << got.error().message();
    EXPECT_EQ(*got, expected) << p;
  }
}

TEST_F(SelectorTest, MissingPathsMustNameAChangedEntry) {
  auto deleted = select("migrations/0003_deleted.py");
  ASSERT_TRUE(deleted.ok()) << deleted.error().message();
  EXPECT_EQ(*deleted, tmp / "real/app/migrations/0003_deleted.py");

  // Re-rooted from the reported work tree onto its canonical form.
  auto via_link = select(tmp / "link/old");
  ASSERT_TRUE(via_link.ok()) << via_link.error().message();
  EXPECT_EQ(*via_link, tmp / "real/old");

  for (const std::string p : {"migrations/0004_never.py", "nothing/here"}) {
    auto got = select(p);
    ASSERT_FALSE(got.ok()) << p;
    EXPECT_EQ(got.error().message(), "Invalid path: " + p);
  }
}

TEST_F(SelectorTest, PathsOutsideTheWorkTreeAreRefusedAsTyped) {
  for (const std::string& p : {std::string("../../outside"), tmp / "outside", std::string("/"), tmp / "real-not"}) {
    auto got = select(p);
    ASSERT_FALSE(got.ok()) << p;
    EXPECT_EQ(got.error().kind, ErrorKind::InvalidPath);
    EXPECT_EQ(got.error().message(), "Invalid path: " + p);
  }
}

TEST_F(SelectorTest, TheFirstFailureEndsTheList) {
  auto all = cli_path_selectors({"migrations", "."}, SelectorInputs{cwd, base, canonical_base, entries});
  ASSERT_TRUE(all.ok());
  EXPECT_EQ(*all, (std::vector<std::string>{tmp / "real/app/migrations", tmp / "real/app"}));

  auto failed = cli_path_selectors({"migrations", "gone", tmp / "outside"},
                                   SelectorInputs{cwd, base, canonical_base, entries});
  ASSERT_FALSE(failed.ok());
  EXPECT_EQ(failed.error().message(), "Invalid path: gone");
}

}  // namespace
}  // namespace tarn
