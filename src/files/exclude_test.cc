#include "files/exclude.h"

#include <gtest/gtest.h>

namespace tarn {
namespace {

TEST(PathToSlash, JoinsComponentsWithOneSeparator) {
  const std::pair<const char*, const char*> rows[] = {
      {"/srv/app/x.py", "/srv/app/x.py"}, {"/", "/"},           {"", ""},
      {"./app/x.py", "./app/x.py"},       {"app//x.py", "app/x.py"}, {"app/./x.py/", "app/x.py"},
      {"../app/x.py", "../app/x.py"},     {"//srv", "/srv"},    {"a/\xff.py", "a/\xef\xbf\xbd.py"},
  };
  for (const auto& [path, slash] : rows) EXPECT_EQ(path_to_slash(path), slash) << path;
}

TEST(IsExcluded, RootsStripWholeComponents) {
  struct Row {
    const char* path;
    std::vector<std::string> roots;
    std::vector<std::string> patterns;
    bool excluded;
  };
  const Row rows[] = {
      {"/srv/proj/app/migrations/0001_x.py", {"/srv/other", "/srv/proj/"}, {"app/*"}, true},
      {"/srv/project/app/x.py", {"/srv/proj"}, {"app/*"}, false},
      // a path equal to a root gives the empty candidate
      {"/srv/proj", {"/srv/proj"}, {""}, true},
      {"lib/app/x.py", {}, {"app/*"}, false},
      {"app/x.py", {}, {"nothing", "*/x.py"}, true},
  };
  for (const auto& row : rows) {
    auto patterns = compile_glob_patterns(row.patterns);
    ASSERT_TRUE(patterns.ok());
    EXPECT_EQ(is_excluded(row.path, row.roots, *patterns), row.excluded) << row.path;
  }
}

}  // namespace
}  // namespace tarn
