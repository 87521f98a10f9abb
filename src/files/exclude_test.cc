#include "files/exclude.h"

#include <gtest/gtest.h>

namespace tarn {
namespace {

TEST(PathToSlash, JoinsComponentsWithOneSeparator) {
  const std::pair<const char*, const char*> rows[] = {
      {"/srv/app/x.py", "/srv/app/x.py"},
      {"/", "/"},
      {"", ""},
      {"./app/x.py", "./app/x.py"},
      {"app//x.py", "app/x.py"},
      {"app/./x.py/", "app/x.py"},
      {"../app/x.py", "../app/x.py"},
      {"//srv", "/srv"},
      {"a/\xff.py", "a/\xef\xbf\xbd.py"},
  };
  for (const auto& [path, slash] : rows) EXPECT_EQ(path_to_slash(path), slash) << path;
}

std::vector<GlobPattern> compile(const std::vector<std::string>& patterns) {
  auto compiled = compile_glob_patterns(patterns);
  EXPECT_TRUE(compiled.ok());
  return compiled.ok() ? std::move(compiled).value() : std::vector<GlobPattern>{};
}

TEST(IsExcluded, TriesEachCandidateForm) {
  struct Row {
    const char* path;
    std::vector<std::string> roots;
    std::vector<std::string> patterns;
    bool excluded;
  };
  const Row rows[] = {
      // without the leading "./"
      {"./app/migrations/0001_x.py", {}, {"app/migrations/*"}, true},
      // relative to a root
      {"/srv/proj/app/migrations/0001_x.py", {"/srv/proj"}, {"app/migrations/*"}, true},
      {"/srv/proj/app/migrations/0001_x.py", {"/srv/other", "/srv/proj/"}, {"app/*"}, true},
      {"/srv/project/app/x.py", {"/srv/proj"}, {"app/*"}, false},
      // an absolute pattern reaches an absolute path directly
      {"/srv/app/x.py", {}, {"/srv/app/*"}, true},
      // the path as written
      {"lib/app/x.py", {}, {"lib/*/x.py"}, true},
      {"lib/app/x.py", {}, {"app/*"}, false},
      // case-sensitive
      {"app/x.py", {}, {"App*"}, false},
      {"app/x.py", {}, {"*"}, true},
      // a path equal to a root gives the empty candidate
      {"/srv/proj", {"/srv/proj"}, {""}, true},
      {"app/x.py", {}, {}, false},
      // any of several patterns
      {"app/x.py", {}, {"nothing", "*/x.py"}, true},
  };
  for (const auto& row : rows) {
    EXPECT_EQ(is_excluded(row.path, row.roots, compile(row.patterns)), row.excluded) << row.path;
  }
}

}  // namespace
}  // namespace tarn
