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

TEST(ParseFileConfig, HostileDocumentsFailWithoutCrashing) {
  std::string garbage;
  for (int i = 0; i < 4096; ++i) garbage.push_back(static_cast<char>((i * 7919 + 13) % 256));
  std::string dotted, header = "[", inline_tables = "x = ", quoted = "\"a\"";
  for (int i = 0; i < 200000; ++i) {
    dotted += "a.";
    header += "a.";
  }
  for (int i = 0; i < 100000; ++i) inline_tables += "{a.a.a.a=";
  for (int i = 0; i < 2000; ++i) quoted += ".\"a\"";
  const std::string rows[] = {
      garbage,
      "x = " + std::string(100000, '[') + std::string(100000, ']') + "\n",
      dotted + "b = 1\n",
      header + "b]\n",
      inline_tables,
      quoted + " = 1\n",
      // Text that breaks what the TOML library assumes of its input.
      "[~tool]\n",
      "[[ \t$tool]]\n",
      "a = 1\n[\r\nb]\n",
      "\xEF\xBB\xBF[.a]\n",
      "tool = [{ select =[}]\n",
      // Characters the TOML library's whitespace test has no answer for.
      "a = 1\n\xC3\xA9 = 1\n",
      "x = 0\"\xC2\xAF\"\n",
      "x = \"\"\"\\\xEF\xBB\xB7\"\"\"\n",
      // One of them with a private-use code point the reader stands in with.
      "exclude = [\"\xC3\xA9\xF3\xB0\x80\x80\"]\n",
  };
  for (const auto& text : rows) {
    auto c = parse_file_config(text, "stillwater.toml");
    ASSERT_FALSE(c.ok()) << text.substr(0, 40);
    EXPECT_EQ(c.error().kind, ErrorKind::ConfigParse);
  }
  // Dots inside strings and comments do not count as nesting.
  const std::string dots(5000, '.');
  auto fine = parse_file_config("# " + dots + "\nexclude = [\"" + dots + "\", '" + dots + "', \"\"\"" + dots +
                                    "\"\"\", '''" + dots + "''']\nx.y.z = 1.5\n",
                                "stillwater.toml");
  ASSERT_TRUE(fine.ok()) << fine.error().message();
  EXPECT_EQ(fine->exclude->size(), 4u);
  // In valid documents they are read as they are written.
  auto text = parse_file_config(
      "# \xC3\xA9\nexclude = [\"\xC3\xA9\xEF\xBB\xB7\", \"\"\"\\\n  \xC3\xA9\"\"\"]\n"
      "allowed-file-patterns = ['\xE4\xB8\xAD']\n",
      "stillwater.toml");
  ASSERT_TRUE(text.ok()) << text.error().message();
  EXPECT_EQ(*text->exclude, (Strings{"\xC3\xA9\xEF\xBB\xB7", "\xC3\xA9"}));
  EXPECT_EQ(*text->allowed_file_patterns, Strings{"\xE4\xB8\xAD"});
  auto private_use = parse_file_config("exclude = ['\xF3\xB0\x80\x80']\n", "stillwater.toml");
  ASSERT_TRUE(private_use.ok());
  EXPECT_EQ(*private_use->exclude, Strings{"\xF3\xB0\x80\x80"});
}

TEST(ParseFileConfig, KeysAndValuesNestedEightyDeepAreRefused) {
  const auto nested = [](int depth, const char* open, const char* inner, const char* close) {
    std::string text = "x = ";
    for (int i = 0; i < depth; ++i) text += open;
    text += inner;
    for (int i = 0; i < depth; ++i) text += close;
    return text + "\n";
  };
  const auto dotted = [](int parts) {
    std::string key = "a";
    for (int i = 1; i < parts; ++i) key += ".a";
    return key;
  };
  struct Row {
    std::string text;
    bool ok;
  };
  const Row rows[] = {
      {nested(79, "[", "", "]"), true},
      {nested(80, "[", "", "]"), false},
      {nested(79, "{a=", "1", "}"), true},
      {nested(80, "{a=", "1", "}"), false},
      {nested(40, "[{a=", "1", "}]"), false},
      {dotted(79) + " = 1\n", true},
      {dotted(80) + " = 1\n", false},
      {"[" + dotted(80) + "]\n", false},
      {"x = {" + dotted(80) + " = 1}\n", false},
      // Parts of different keys do not add up.
      {"[" + dotted(79) + "]\n" + dotted(79) + " = 1\n", true},
  };
  for (const auto& row : rows) {
    auto c = parse_file_config(row.text, "stillwater.toml");
    EXPECT_EQ(c.ok(), row.ok) << row.text.substr(0, 60);
    if (!c.ok()) {
      EXPECT_EQ(c.error().kind, ErrorKind::ConfigParse);
    }
  }
}

}  // namespace
}  // namespace tarn
