#include "util/glob.h"

#include <gtest/gtest.h>

#include <cstdint>
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
      // literals: whole text, backslash is an ordinary char
      {"app/x.py", "app/x.pyc", false}, {"a\\*b", "a\\xyzb", true}, {"a\\*b", "a*b", false}, {"", "", true},
      // "?" and "*" also match "/"
      {"app/*", "app/migrations/0001_x.py", true}, {"*", "", true}, {"a?c", "a/c", true},
      {"*a*b", "xxaxxbxxb", true}, {"*a*b", "xxaxxbxxc", false},
      // "**" as a whole component
      {"**", "", true}, {"a/**/b", "a/b", true}, {"a/**/b", "a/xb", false}, {"**/test", "one/atest", false},
      {"/**/test", "/test", true}, {"**/.*", "abc/ab.c", false}, {"migrations/**", "migrationsx", false},
      {"a/**/*", "a/b", true},
      // bracket classes
      {"[!a-c]", "d", true}, {"a[!x]b", "a/b", true}, {"[^a]", "^", true}, {"[]]", "]", true},
      {"[!]]", "]", false}, {"[a-]", "-", true}, {"[z-a]", "m", false}, {"[é]", "é", true},
      // matching runs on code points; each invalid sequence is one, read as U+FFFD
      {"?", "é", true}, {"??", "é", false}, {"?z?", "\xE2\x82z\xff", true}, {"??z", "\xE2\x82z", false},
      {"\xEF\xBF\xBD", "\xC0", true}, {"??", "\xC0\x80", true},
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
      {"a/****", 4, wildcards}, {"x/a**/b", 2, component}, {"[]", 0, range},
      {"[!]", 0, range},        {"[!ab", 0, range},        {"éé/**x", 5, component},
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

uint64_t match_work(const GlobPattern& p, const std::string& text) {
  uint64_t work = 0;
  p.matches(text, &work);
  return work;
}

std::string repeat(const std::string& unit, size_t times) {
  std::string out;
  for (size_t i = 0; i < times; ++i) out += unit;
  return out;
}

TEST(GlobPattern, RepeatedRecursiveWildcardsMatchAsOne) {
  const std::string texts[] = {"", "x", "a/x", "a/b/c/x", "x/", "a/xb", "ax", "/x", "a/b/", "a/.x"};
  for (const char* tail : {"x", "", "*", "*x", "**"}) {
    auto one = GlobPattern::compile(std::string("**/") + tail);
    auto many = GlobPattern::compile(repeat("**/", 7) + tail);
    auto inner_one = GlobPattern::compile(std::string("a/**/") + tail);
    auto inner_many = GlobPattern::compile("a/" + repeat("**/", 7) + tail);
    ASSERT_TRUE(one.ok() && many.ok() && inner_one.ok() && inner_many.ok()) << tail;
    for (const auto& text : texts) {
      EXPECT_EQ(many->matches(text), one->matches(text)) << tail << " / " << text;
      EXPECT_EQ(inner_many->matches("a/" + text), inner_one->matches("a/" + text)) << tail << " / " << text;
    }
  }
}

// Work, not time: each shape is matched at one size of its repeated part and
// at eight times that size against the same paths. Doubling the pattern may
// at most double the work per character (the live states grow with the
// pattern), so eight times the pattern costs at most a little over eight
// times the work; a quadratic matcher costs 64 times.
TEST(GlobPattern, MatchingCostGrowsLinearlyWithThePattern) {
  struct Shape {
    const char* name;
    std::string (*make)(size_t);
    bool constant;  // the repeats collapse: the cost must not grow at all
  };
  const Shape shapes[] = {
      {"**/ repeats", [](size_t n) { return repeat("**/", n) + "x.py"; }, true},
      {"**/ repeats, tail", [](size_t n) { return "app/" + repeat("**/", n) + "*"; }, true},
      {"* and literals", [](size_t n) { return repeat("*a", n) + "*b"; }, false},
      {"**/ and literals", [](size_t n) { return repeat("**/a/", n) + "x"; }, false},
      {"? runs", [](size_t n) { return "*" + repeat("?", n) + "*"; }, false},
      {"classes", [](size_t n) { return repeat("*[a-m]", n); }, false},
      {"one wide class", [](size_t n) {
         std::string members;
         for (size_t i = 0; i < n * 8; ++i) members += static_cast<char>('a' + i % 26);
         return "*[" + members + "]*";
       }, false},
  };
  const std::string paths[] = {
      "app/migrations/0001_initial.py", std::string(300, 'a') + "/" + std::string(300, 'a'),
      repeat("a/", 150) + "x.py", repeat("abcdefghijklm/", 40)};
  for (const auto& shape : shapes) {
    auto small = GlobPattern::compile(shape.make(64));
    auto large = GlobPattern::compile(shape.make(512));
    ASSERT_TRUE(small.ok() && large.ok()) << shape.name;
    for (const auto& path : paths) {
      const uint64_t w1 = match_work(*small, path), w8 = match_work(*large, path);
      if (shape.constant) {
        EXPECT_EQ(w8, w1) << shape.name << " on " << path;
      } else {
        EXPECT_LE(w8, 9 * w1 + 1000) << shape.name << " on " << path;
      }
      // Per character, a bounded number of steps for each live state.
      EXPECT_LE(w8, 16 * (path.size() + 1) * (2 * 512 * 5 + 1)) << shape.name;
    }
  }
  // A repeat count that used to need gigabytes is one token.
  auto huge = GlobPattern::compile(repeat("**/", 32000) + "x.py");
  ASSERT_TRUE(huge.ok());
  auto one = GlobPattern::compile("**/x.py");
  EXPECT_TRUE(huge->matches("app/migrations/x.py"));
  EXPECT_EQ(match_work(*huge, paths[2]), match_work(one.value(), paths[2]));
}

TEST(GlobPattern, HugePatternCostsItsLiveStates) {
  // A configuration may hold a pattern of up to a megabyte, and a path that
  // fails early must not pay for the rest of it.
  const std::string path = "app/migrations/0001_initial.py";
  for (const std::string& huge : {std::string(1000000, 'a'), repeat("*a", 400000)}) {
    auto q = GlobPattern::compile(huge);
    ASSERT_TRUE(q.ok());
    uint64_t work = 0;
    EXPECT_FALSE(q->matches(path, &work));
    EXPECT_LE(work, 64 * (path.size() + 1) * (path.size() + 1));
  }
}

}  // namespace
}  // namespace tarn
