#include "files/exclude.h"

#include <gtest/gtest.h>

#include "testing/temp_tree.h"

namespace tarn {
namespace {

TEST(ExcludeFilter, PathsAreTriedRelativeToTheBaseByWholeComponents) {
  struct Row {
    const char* path;
    const char* base;
    std::vector<std::string> patterns;
    bool excluded;
  };
  const Row rows[] = {
      {"/srv/proj/app/migrations/0001_x.py", "/srv/proj/", {"app/*"}, true},
      {"/srv/project/app/x.py", "/srv/proj", {"app/*"}, false},
      // a path equal to the base gives the empty candidate
      {"/srv/proj", "/srv/proj", {""}, true},
      {"lib/app/x.py", "/srv", {"app/*"}, false},
      // candidates are whole components joined by one "/", invalid UTF-8 replaced
      {"app//x.py/", "/srv", {"app/x.py"}, true},
      {"a/\xff.py", "/srv", {"a/\xef\xbf\xbd.py"}, true},
      {"app/x.py", "/srv", {"nothing", "*/x.py"}, true},
  };
  for (const auto& row : rows) {
    auto filter = ExcludeFilter::make(row.patterns, row.base);
    ASSERT_TRUE(filter.ok());
    EXPECT_EQ(filter->excludes(row.path), row.excluded) << row.path;
  }
}

// A base reached through a link also anchors the paths under its target.
TEST(ExcludeFilter, CanonicalBaseAnchorsToo) {
  testing::TempTree t;
  const std::string real = t.mkdir("real");
  const std::string base = t.symlink(real, "base");
  auto filter = ExcludeFilter::make({"app/*"}, base);
  ASSERT_TRUE(filter.ok());
  EXPECT_TRUE(filter->excludes(base + "/app/x.py"));
  EXPECT_TRUE(filter->excludes(real + "/app/x.py"));
  EXPECT_FALSE(filter->excludes(t.path("other/app/x.py")));
}

}  // namespace
}  // namespace tarn
