#include "util/path.h"

#include <gtest/gtest.h>

namespace tarn {
namespace {

std::string joined(std::string_view path) {
  std::string out;
  for (const auto& c : path_components(path)) out += "[" + std::string(c.text) + "]";
  return out;
}

TEST(PathComponents, LexicalRules) {
  const std::pair<const char*, const char*> rows[] = {
      {"a//b/", "[a][b]"}, {"./a/./b", "[.][a][b]"}, {"/./a", "[/][a]"},
      {"../a/..", "[..][a][..]"}, {"", ""}, {"//x", "[/][x]"},
  };
  for (const auto& [path, expected] : rows) EXPECT_EQ(joined(path), expected) << path;
}

TEST(ComparePaths, ComponentOrder) {
  EXPECT_EQ(compare_paths("a/./b", "a/b"), 0);
  EXPECT_NE(compare_paths("./a", "a"), 0);
  EXPECT_LT(compare_paths("/z", "a"), 0);  // a root sorts before names
  EXPECT_LT(compare_paths("./z", "a"), 0);

  // The lexical form agrees with the comparison on every pair.
  const std::vector<std::string> forms = {"",    ".",   "./",   "./a",   "a",      "a/",   "a//b/", "a/./b",
                                          "a/b", "/",   "//",   "/a",    "/./a/", "../a", "a/..",  "a/../b"};
  for (const auto& a : forms) {
    for (const auto& b : forms) {
      EXPECT_EQ(path_lexical_form(a) == path_lexical_form(b), paths_equal(a, b)) << a << " " << b;
    }
  }
  EXPECT_EQ(path_lexical_form("//srv/./app//x.py/"), "/srv/app/x.py");
}

TEST(PathParts, EdgesOfPrefixesNamesAndExtensions) {
  EXPECT_FALSE(path_starts_with("ab/c", "a"));
  EXPECT_EQ(path_strip_prefix("/srv", "/srv"), "");
  EXPECT_EQ(path_strip_prefix("/srv2/x", "/srv"), std::nullopt);
  EXPECT_EQ(path_join("a", "/b"), "/b");
  EXPECT_EQ(path_file_name("a/.."), std::nullopt);
  EXPECT_EQ(path_parent("/a"), "/");
  EXPECT_EQ(path_parent("/"), std::nullopt);
  const std::pair<const char*, std::optional<std::string_view>> extensions[] = {
      {".py", std::nullopt}, {"..", std::nullopt}, {"x", std::nullopt}, {"x.tar.gz", "gz"}, {"x.", ""},
  };
  for (const auto& [name, ext] : extensions) EXPECT_EQ(file_name_extension(name), ext) << name;
}

}  // namespace
}  // namespace tarn
