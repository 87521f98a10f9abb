#include "config/config.h"

#include <gtest/gtest.h>

namespace tarn {
namespace {

using Strings = std::vector<std::string>;

// The everyday forms (dotted keys, inline tables, positional arrays) are
// pinned end to end; these are the array-of-tables corners.
TEST(ParsePyProjectToml, ToolAsAnArrayOfTables) {
  // `tool` as an array: its first element is the value of `tarn`
  auto first = parse_pyproject_toml("[[tool]]\nselect = [\"R006\"]\n", "pyproject.toml");
  ASSERT_TRUE(first.ok() && first->tool && first->tool->tarn);
  EXPECT_EQ(first->tool->tarn->select, Strings{"R006"});
  auto header = parse_pyproject_toml("[[tool]]\n[tool.tarn]\nselect = [\"R007\"]\n", "pyproject.toml");
  ASSERT_TRUE(header.ok() && header->tool && header->tool->tarn);
  EXPECT_EQ(header->tool->tarn->select, std::nullopt);
}

TEST(ParsePyProjectToml, WholeFileErrors) {
  const char* rows[] = {
      "tool = 1\n",
      "[tool]\ntarn = [[], [], \"no\", [], []]\n",  // wrong type by position
      "x = \"\xff\"\n",
  };
  for (const char* text : rows) {
    auto doc = parse_pyproject_toml(text, "dir/pyproject.toml");
    ASSERT_FALSE(doc.ok()) << text;
    EXPECT_EQ(doc.error().kind, ErrorKind::ConfigParse) << text;
    EXPECT_EQ(doc.error().message(), "Failed to parse configuration: dir/pyproject.toml") << text;
  }
}

TEST(ParseFileConfig, TextIsReadAsWritten) {
  // An accented letter and a private-use character in one file, and a leap
  // second in a key nobody reads.
  auto text = parse_file_config(
      "# Zo\xC3\xAB \xF3\xB0\x81\x81\nexclude = [\"\xC3\xA9\xF3\xB0\x81\x81\", \"\"\"\\\n  \xC3\xA9\"\"\"]\n"
      "allowed-file-patterns = ['\xE4\xB8\xAD', '\xF3\xB0\x80\x80']\nleap = 2016-12-31T23:59:60Z\n",
      "stillwater.toml");
  ASSERT_TRUE(text.ok()) << text.error().text;
  EXPECT_EQ(*text->exclude, (Strings{"\xC3\xA9\xF3\xB0\x81\x81", "\xC3\xA9"}));
  EXPECT_EQ(*text->allowed_file_patterns, (Strings{"\xE4\xB8\xAD", "\xF3\xB0\x80\x80"}));
}

TEST(ParseFileConfig, NestingAndLongKeysElsewhereDoNotMatter) {
  const auto repeat = [](const std::string& unit, int times) {
    std::string out;
    for (int i = 0; i < times; ++i) out += unit;
    return out;
  };
  const std::string rows[] = {
      "x = " + repeat("[", 100000) + repeat("]", 100000) + "\n",
      "x = " + repeat("{a.a.a.a=", 1000) + "1" + repeat("}", 1000) + "\n",
      repeat("a.", 200000) + "b = 1\n",
      repeat("\"a\".", 2000) + "b = 1\n",
      // enough keys that the table's keys are found through its index
      "k1 = 1\nk2 = 2\nk3 = 3\nk4 = 4\nk5 = 5\nk6 = 6\nk7 = 7\nk8 = 8\nk9 = 9\n",
  };
  for (const auto& other : rows) {
    // The settings come first: a header ends the top-level table.
    auto c = parse_file_config("select = [\"R001\"]\n" + other + "[" + repeat("a.", 1000) + "b]\n", "stillwater.toml");
    ASSERT_TRUE(c.ok()) << other.substr(0, 40) << ": " << c.error().text;
    EXPECT_EQ(c->select, Strings{"R001"});
  }
}

}  // namespace
}  // namespace tarn
