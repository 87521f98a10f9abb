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
      // a member inside a range keeps the range whole; a one-point range holds its point
      {"[a-zm]", "x", true}, {"[a-a]", "a", true},
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

// The paths the cost tests match: a real one, long components, many short
// components, many components that each nearly match a class.
const std::string kCostPaths[] = {"app/migrations/0001_initial.py",
                                  std::string(300, 'a') + "/" + std::string(300, 'a'), repeat("a/", 150) + "x.py",
                                  repeat("abcdefghijklm/", 40)};

// Repeated "**/" are one token, so matching costs what a single one costs at
// every repeat count. The counts double from two: a broken collapse fails
// within a few repeats, before a size that would take minutes is tried.
TEST(GlobPattern, RepeatedRecursiveWildcardsCostAsOne) {
  std::string (*const shapes[])(size_t) = {
      [](size_t n) { return repeat("**/", n) + "x.py"; },
      [](size_t n) { return "app/" + repeat("**/", n) + "*"; },
  };
  for (const auto make : shapes) {
    auto one = GlobPattern::compile(make(1));
    ASSERT_TRUE(one.ok());
    for (size_t n = 2; n <= 32768; n *= 2) {
      auto many = GlobPattern::compile(make(n));
      ASSERT_TRUE(many.ok()) << make(1) << " x" << n;
      for (const auto& path : kCostPaths) {
        uint64_t work_many = 0, work_one = 0;
        const bool many_matches = many->matches(path, &work_many), one_matches = one->matches(path, &work_one);
        ASSERT_EQ(many_matches, one_matches) << make(1) << " x" << n << " on " << path;
        ASSERT_EQ(work_many, work_one) << make(1) << " x" << n << " on " << path;
      }
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
  };
  const Shape shapes[] = {
      {"* and literals", [](size_t n) { return repeat("*a", n) + "*b"; }},
      {"**/ and literals", [](size_t n) { return repeat("**/a/", n) + "x"; }},
      {"? runs", [](size_t n) { return "*" + repeat("?", n) + "*"; }},
      {"classes", [](size_t n) { return repeat("*[a-m]", n); }},
      {"one wide class", [](size_t n) {
         std::string members;
         for (size_t i = 0; i < n * 8; ++i) members += static_cast<char>('a' + i % 26);
         return "*[" + members + "]*";
       }},
  };
  for (const auto& shape : shapes) {
    auto small = GlobPattern::compile(shape.make(64));
    auto large = GlobPattern::compile(shape.make(512));
    ASSERT_TRUE(small.ok() && large.ok()) << shape.name;
    for (const auto& path : kCostPaths) {
      const uint64_t w1 = match_work(*small, path), w8 = match_work(*large, path);
      EXPECT_LE(w8, 9 * w1 + 1000) << shape.name << " on " << path;
      // Per character, a bounded number of steps for each live state.
      EXPECT_LE(w8, 16 * (path.size() + 1) * (2 * 512 * 5 + 1)) << shape.name;
    }
  }
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
