#include "files/glob.h"

#include <gtest/gtest.h>

#include <chrono>
#include <string>

namespace tarn {
namespace {

struct MatchRow {
  const char* pattern;
  const char* text;
  bool expected;
};

TEST(GlobPattern, MatchTable) {
  const MatchRow rows[] = {
      // literals: whole text, case-sensitive, backslash is an ordinary char
      {"app/x.py", "app/x.py", true}, {"app/x.py", "app/x.pyc", false}, {"app/x.py", "xapp/x.py", false},
      {"App*", "app/x.py", false}, {"a\\*b", "a\\xyzb", true}, {"a\\*b", "a*b", false},
      {"", "", true}, {"", "a", false},
      // "?" and "*" also match "/"
      {"app/*", "app/migrations/0001_x.py", true}, {"*", "./app/x.py", true}, {"*", "", true},
      {"a?c", "a/c", true}, {"a?c", "ac", false}, {"*.py", "dir/.hidden.py", true},
      {"*/0001_*.py", "app/migrations/0001_initial.py", true}, {"*a*b", "xxaxxbxxb", true},
      {"*a*b", "xxaxxbxxc", false},
      // "**" as a whole component
      {"**", "", true}, {"**", "abcde", true}, {"**", "/x/.asdf", true},
      {"a/**/b", "a/b", true}, {"a/**/b", "a/x/y/b", true}, {"a/**/b", "a/xb", false}, {"a/**/b", "ab", false},
      {"**/test", "test", true}, {"**/test", "one/two/test", true}, {"**/test", "one/atest", false},
      {"/**/test", "/test", true}, {"/**/test", "/one/notthis", false},
      {"**/.*", "abc/.abc", true}, {"**/.*", "ab.c", false}, {"**/.*", "abc/ab.c", false},
      {"some/**/**/needle.txt", "some/one/two/needle.txt", true},
      {"migrations/**", "migrations/0001.py", true}, {"migrations/**", "migrations/a/b/0001.py", true},
      {"migrations/**", "migrationsx", false}, {"a/**/*", "a/b", true},
      // bracket classes
      {"[abc]x", "bx", true}, {"[abc]x", "dx", false}, {"[a-c]", "b", true}, {"[a-c]", "d", false},
      {"[!a-c]", "d", true}, {"[!a-c]", "b", false}, {"a[/]b", "a/b", true}, {"a[!x]b", "a/b", true},
      {"[^a]", "^", true}, {"[^a]", "b", false}, {"[]]", "]", true}, {"[]a]", "a", true},
      {"[!]]", "]", false}, {"[!]]", "x", true}, {"[a-]", "-", true}, {"[z-a]", "m", false},
      {"[é]", "é", true},
      // matching runs on code points, not bytes
      {"?", "é", true}, {"??", "é", false}, {"caf?.py", "café.py", true},
  };
  for (const auto& row : rows) {
    auto p = GlobPattern::compile(row.pattern);
    ASSERT_TRUE(p.ok()) << row.pattern << ": " << p.error().message();
    EXPECT_EQ(p->matches(row.text), row.expected) << "pattern " << row.pattern << " text " << row.text;
  }
}

struct ErrorRow {
  const char* pattern;
  size_t position;
  const char* text;
};

TEST(GlobPattern, CompileErrorsNamePositionAndReason) {
  const char* wildcards = "wildcards are either regular `*` or recursive `**`";
  const char* component = "recursive wildcards must form a single path component";
  const char* range = "invalid range pattern";
  const ErrorRow rows[] = {
      {"***", 2, wildcards},      {"a/****", 4, wildcards},    {"a**", 0, component},
      {"a/**b", 4, component},    {"x/a**/b", 2, component},   {"[", 0, range},
      {"ab[", 2, range},          {"[]", 0, range},            {"[!]", 0, range},
      {"[abc", 0, range},         {"[!ab", 0, range},          {"é[", 1, range},
      {"éé/**x", 5, component},
  };
  for (const auto& row : rows) {
    auto p = GlobPattern::compile(row.pattern);
    ASSERT_FALSE(p.ok()) << row.pattern;
    EXPECT_EQ(p.error().kind, ErrorKind::InvalidGlob);
    EXPECT_EQ(p.error().message(), std::string("Invalid glob pattern '") + row.pattern +
                                       "': Pattern syntax error near position " + std::to_string(row.position) +
                                       ": " + row.text);
  }
  // A list fails on its first invalid pattern.
  auto bad = compile_glob_patterns({"*.py", "[", "***"});
  ASSERT_FALSE(bad.ok());
  EXPECT_EQ(bad.error().text, "[");
}

TEST(GlobPattern, PathologicalPatternsStayFast) {
  // A backtracking matcher takes exponential time on this shape.
  std::string stars;
  for (int i = 0; i < 1000; ++i) stars += "*a";
  auto p = GlobPattern::compile(stars + "*b");
  ASSERT_TRUE(p.ok());
  const std::string text = std::string(2000, 'a') + "/" + std::string(2000, 'a');
  auto start = std::chrono::steady_clock::now();
  EXPECT_FALSE(p->matches(text));
  EXPECT_TRUE(p->matches(text + "b"));
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(10));

  // A configuration may hold a pattern of up to a megabyte; each path tried
  // against it must cost its live states, not the pattern's length.
  std::string starred;
  for (int i = 0; i < 400000; ++i) starred += "*a";
  for (const std::string& huge : {std::string(1000000, 'a'), starred}) {
    auto q = GlobPattern::compile(huge);
    ASSERT_TRUE(q.ok());
    start = std::chrono::steady_clock::now();
    for (int i = 0; i < 5000; ++i) EXPECT_FALSE(q->matches("app/migrations/0001_initial.py"));
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(2));
  }
}

}  // namespace
}  // namespace tarn
