#include "git/libgit.h"

#include <git2/sys/errors.h>
#include <gtest/gtest.h>

namespace tarn {
namespace {

TEST(GitErrorText, ClassAndCodeAppearOnlyWhenMeaningful) {
  struct Case {
    int klass;
    int code;
    const char* expected;
  };
  const Case cases[] = {
      {GIT_ERROR_HTTP, GIT_EOWNER, "boom; class=Http (34); code=Owner (-36)"},
      {GIT_ERROR_ODB, GIT_ERROR, "boom; class=Odb (9)"},
      {GIT_ERROR_NONE, GIT_ENOTFOUND, "boom; code=NotFound (-3)"},
      {35, -2, "boom"},
      {GIT_ERROR_TREE, -27, "boom; class=Tree (14)"},
  };
  ensure_libgit2();
  for (const auto& c : cases) {
    git_error_set_str(c.klass, "boom");
    EXPECT_EQ(git_error_text(c.code), c.expected) << c.klass << " " << c.code;
  }
  git_error_clear();
}

TEST(SafeRepoPath, RejectsEscapesAndAbsolutePaths) {
  const std::pair<const char*, bool> cases[] = {
      {"a//b/./c.py", true}, {"", false}, {"/etc/passwd", false}, {"./x.py", false}, {"a/../b.py", false},
      {"a/..", false},
  };
  for (const auto& [path, safe] : cases) EXPECT_EQ(is_safe_repo_path(path), safe) << path;
}

}  // namespace
}  // namespace tarn
