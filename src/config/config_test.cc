#include "config/config.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "files/read.h"
#include "testing/temp_tree.h"

namespace tarn {
namespace {

using testing::TempTree;
using Strings = std::vector<std::string>;
using Ids = std::set<std::string>;

TEST(ParseFileConfig, ReadsKeysAndIgnoresUnknownOnes) {
  auto c = parse_file_config(
      "select = [\"R001\", \"R001\"]\n"
      "ignore = []\n"
      "warnings-as-errors = true\n"
      "exclude = [\"a/*\", \"a/*\"]\n"
      "allowed-file-patterns = [\"docs/**\"]\n"
      "warnings_as_errors = false\n"
      "Select = 5\n"
      "[other]\nx = { y = 1 }\n",
      "stillwater.toml");
  ASSERT_TRUE(c.ok()) << c.error().source;
  EXPECT_EQ(c->select, (Strings{"R001", "R001"}));
  EXPECT_EQ(c->ignore, Strings{});
  EXPECT_EQ(c->warnings_as_errors, true);
  EXPECT_EQ(c->exclude, (Strings{"a/*", "a/*"}));
  EXPECT_EQ(c->allowed_file_patterns, Strings{"docs/**"});

  auto empty = parse_file_config("", "stillwater.toml");
  ASSERT_TRUE(empty.ok());
  EXPECT_FALSE(empty->select || empty->ignore || empty->warnings_as_errors || empty->exclude ||
               empty->allowed_file_patterns);
}

TEST(ParsePyProjectToml, TablesInlineTablesDottedKeysAndPositionalArrays) {
  struct Row {
    const char* text;
    bool has_tarn;
    std::optional<Strings> select;
  };
  const Row rows[] = {
      {"[project]\nname = \"x\"\n", false, std::nullopt},
      {"[tool.black]\nline-length = 88\n", false, std::nullopt},
      {"[tool.tarn]\n", true, std::nullopt},
      {"[tool.tarn]\nselect = [\"R001\"]\n", true, Strings{"R001"}},
      {"tool = { tarn = { select = [\"R002\"] } }\n", true, Strings{"R002"}},
      {"tool.tarn.select = [\"R003\"]\n", true, Strings{"R003"}},
      {"[tool]\ntarn = [[\"R004\"], [], false, [], []]\n", true, Strings{"R004"}},
      // `tool` as an array: its first element is the value of `tarn`
      {"tool = [{ select = [\"R005\"] }]\n", true, Strings{"R005"}},
      {"[[tool]]\nselect = [\"R006\"]\n", true, Strings{"R006"}},
      {"[[tool]]\n[tool.tarn]\nselect = [\"R007\"]\n", true, std::nullopt},
  };
  for (const auto& row : rows) {
    auto doc = parse_pyproject_toml(row.text, "pyproject.toml");
    ASSERT_TRUE(doc.ok()) << row.text << ": " << doc.error().source;
    const bool has_tarn = doc->tool && doc->tool->tarn;
    EXPECT_EQ(has_tarn, row.has_tarn) << row.text;
    if (has_tarn) {
      EXPECT_EQ(doc->tool->tarn->select, row.select) << row.text;
    }
  }
}

TEST(ParsePyProjectToml, WholeFileErrors) {
  const char* rows[] = {
      "[tool.tarn]\nselect = \"R001\"\n",
      "[tool.tarn]\nselect = [\"R001\", 2]\n",
      "[tool.tarn]\nwarnings-as-errors = \"yes\"\n",
      "[tool.tarn]\nexclude = [[\"a\"]]\n",
      "tool = 1\n",
      "[tool]\ntarn = \"x\"\n",
      "[tool]\ntarn = [[\"R001\"]]\n",               // one element for five fields
      "[tool]\ntarn = [[], [], \"no\", [], []]\n",  // wrong type by position
      "tool = []\n",
      "[tool.tarn]\nselect = []\nselect = []\n",  // duplicate key
      "[tool.tarn]\n[tool.tarn]\n",
      "[project\n",                                // syntax, no tarn table at all
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
  ASSERT_TRUE(fine.ok()) << fine.error().source;
  EXPECT_EQ(fine->exclude->size(), 4u);
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
      {"[" + dotted(79) + "]\n", true},
      {"[" + dotted(80) + "]\n", false},
      {"[[" + dotted(80) + "]]\n", false},
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

TEST(MergeFileConfig, PresentKeysReplaceAbsentKeysKeep) {
  Config c;
  c.select = {"R001"};
  c.ignore = {"R009"};
  c.warnings_as_errors = true;
  c.exclude = {"a", "b"};
  c.allowed_file_patterns = {"x"};
  FileConfig f;
  f.select = Strings{};
  f.warnings_as_errors = false;
  f.exclude = Strings{"c", "c"};
  merge_file_config(c, f);
  EXPECT_EQ(c.select, Ids{});
  EXPECT_EQ(c.ignore, Ids{"R009"});
  EXPECT_FALSE(c.warnings_as_errors);
  EXPECT_EQ(c.exclude, (Strings{"c", "c"}));
  EXPECT_EQ(c.allowed_file_patterns, Strings{"x"});
}

TEST(LoadConfig, WhichFilesConfigureADirectory) {
  struct Row {
    const char* pyproject;   // nullptr: no file
    const char* stillwater;  // nullptr: no file
    bool configured;
  };
  const Row rows[] = {
      {nullptr, nullptr, false},
      {"[project]\nname = \"x\"\n", nullptr, false},
      {"[tool.ruff]\nx = 1\n", nullptr, false},
      {"[tool.tarn]\n", nullptr, true},
      {nullptr, "", true},
      {"[project]\n", "", true},
  };
  for (const auto& row : rows) {
    TempTree t;
    if (row.pyproject) t.write("pyproject.toml", row.pyproject);
    if (row.stillwater) t.write("stillwater.toml", row.stillwater);
    auto c = load_config(t.root());
    ASSERT_TRUE(c.ok()) << c.error().message();
    EXPECT_EQ(c->has_value(), row.configured) << (row.pyproject ? row.pyproject : "-");
    if (*c) {
      EXPECT_TRUE((*c)->select.empty() && (*c)->ignore.empty() && !(*c)->warnings_as_errors &&
                  (*c)->exclude.empty() && (*c)->allowed_file_patterns.empty());
    }
  }
}

TEST(LoadConfig, StillwaterIsLaidOverPyprojectKeyByKey) {
  TempTree t;
  t.write("pyproject.toml",
          "[tool.tarn]\nselect = [\"R001\"]\nwarnings-as-errors = true\nexclude = [\"[\"]\n"
          "allowed-file-patterns = [\"docs/*\"]\n");
  t.write("stillwater.toml", "ignore = [\"R002\"]\nwarnings-as-errors = false\nexclude = [\"b/*\", \"b/*\"]\n");
  auto c = load_config(t.root());
  // The invalid exclude of pyproject.toml was replaced, so it is never compiled.
  ASSERT_TRUE(c.ok()) << c.error().message();
  ASSERT_TRUE(c->has_value());
  EXPECT_EQ((*c)->select, Ids{"R001"});
  EXPECT_EQ((*c)->ignore, Ids{"R002"});
  EXPECT_FALSE((*c)->warnings_as_errors);
  EXPECT_EQ((*c)->exclude, (Strings{"b/*", "b/*"}));
  EXPECT_EQ((*c)->allowed_file_patterns, Strings{"docs/*"});

  t.write("stillwater.toml", "select = []\n");
  auto emptied = load_config(t.root());
  ASSERT_FALSE(emptied.ok());  // now the pyproject exclude survives and is invalid
  EXPECT_EQ(emptied.error().text, "[");
}

TEST(LoadConfig, FileErrors) {
  TempTree t;
  const std::string dir = t.mkdir("d");
  const std::string pyproject = dir + "/pyproject.toml";
  const std::string stillwater = dir + "/stillwater.toml";
  const std::string target = t.write("elsewhere.toml", "[tool.tarn]\n");

  // A broken pyproject.toml stops the load before stillwater.toml is read.
  t.write("d/pyproject.toml", "[project\n");
  t.write("d/stillwater.toml", "select = [\"R001\"]\n");
  auto broken = load_config(dir);
  ASSERT_FALSE(broken.ok());
  EXPECT_EQ(broken.error().message(), "Failed to parse configuration: " + pyproject);

  std::filesystem::remove(pyproject);
  t.write("d/stillwater.toml", "select = \"R001\"\n");
  auto typed = load_config(dir);
  ASSERT_FALSE(typed.ok());
  EXPECT_EQ(typed.error().message(), "Failed to parse configuration: " + stillwater);

  std::filesystem::remove(stillwater);
  t.symlink(target, "d/pyproject.toml");
  auto link = load_config(dir);
  ASSERT_FALSE(link.ok());
  EXPECT_EQ(link.error().message(), "Failed to read file: " + pyproject);

  std::filesystem::remove(pyproject);
  t.symlink("missing.toml", "d/stillwater.toml");
  auto dangling = load_config(dir);
  ASSERT_TRUE(dangling.ok());
  EXPECT_FALSE(dangling->has_value());

  std::filesystem::remove(stillwater);
  t.mkdir("d/stillwater.toml");
  auto directory = load_config(dir);
  ASSERT_FALSE(directory.ok());
  EXPECT_EQ(directory.error().kind, ErrorKind::ReadFile);
}

TEST(LoadConfig, SizeLimitIsOneMebibyte) {
  TempTree t;
  std::string text = "#" + std::string(kMaxConfigBytes - 2, 'x') + "\n";
  t.write("stillwater.toml", text);
  auto at_limit = load_config(t.root());
  ASSERT_TRUE(at_limit.ok()) << at_limit.error().message();
  EXPECT_TRUE(at_limit->has_value());
  t.write("stillwater.toml", text + " ");
  auto over = load_config(t.root());
  ASSERT_FALSE(over.ok());
  EXPECT_EQ(over.error().message(),
            "File too large: " + t.path("stillwater.toml") + " (1048577 bytes, max 1048576 bytes)");
}

TEST(LoadConfig, PatternsAreValidatedExcludeFirst) {
  struct Row {
    const char* text;
    const char* message;  // nullptr: valid
  };
  const Row rows[] = {
      {"exclude = [\"a/*\"]\nallowed-file-patterns = [\"**/x\"]\n", nullptr},
      {"exclude = [\"a/*\"]\nallowed-file-patterns = [\"a**\"]\n",
       "Invalid glob pattern 'a**': Pattern syntax error near position 0: recursive wildcards must form a single "
       "path component"},
      {"allowed-file-patterns = [\"[\"]\nexclude = [\"ok\", \"***\"]\n",
       "Invalid glob pattern '***': Pattern syntax error near position 2: wildcards are either regular `*` or "
       "recursive `**`"},
  };
  for (const auto& row : rows) {
    TempTree t;
    t.write("stillwater.toml", row.text);
    auto c = load_config(t.root());
    if (row.message == nullptr) {
      EXPECT_TRUE(c.ok()) << row.text;
    } else {
      ASSERT_FALSE(c.ok()) << row.text;
      EXPECT_EQ(c.error().message(), row.message);
    }
  }
}

}  // namespace
}  // namespace tarn
