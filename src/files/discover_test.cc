#include "files/discover.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "testing/temp_tree.h"

namespace tarn {
namespace {

using testing::TempTree;
using Paths = std::vector<std::string>;

size_t open_descriptors() {
  size_t n = 0;
  for ([[maybe_unused]] const auto& e : std::filesystem::directory_iterator("/proc/self/fd")) ++n;
  return n;
}

TEST(WalkTree, DeepTreesKeepAtMostTenHandlesOpen) {
  TempTree t;
  // Fifteen levels, each with files and a sibling directory listed around the
  // way down, so levels whose handle is given up must be read ahead.
  Paths expected;
  std::string rel;
  for (int level = 0; level < 15; ++level) {
    rel += (rel.empty() ? "" : "/") + std::string("d") + std::to_string(level);
    for (const char* leaf : {"a.py", "z.py", "side/m.py"}) expected.push_back(t.write(rel + "/" + leaf));
    expected.push_back(t.path(rel + "/side"));
    expected.push_back(t.path(rel));
  }
  const size_t baseline = open_descriptors();
  size_t most = 0;
  Paths visited;
  auto error = walk_tree(t.root(), [&](const std::string& path, EntryType) {
    visited.push_back(path);
    most = std::max(most, open_descriptors() - baseline);
  });
  ASSERT_FALSE(error.has_value()) << *error;
  // directory_iterator holds one descriptor of its own while counting.
  EXPECT_LE(most, kMaxOpenDirectories + 1);
  EXPECT_GE(most, kMaxOpenDirectories);
  std::sort(visited.begin(), visited.end());
  std::sort(expected.begin(), expected.end());
  EXPECT_EQ(visited, expected);
}

TEST(WalkTree, ReportsLinkTypesAndStopsAtFirstError) {
  TempTree t;
  t.write("real/file.py");
  t.symlink(t.path("real"), "link");
  t.mkdir("swapped/inner");
  std::vector<std::pair<std::string, EntryType>> seen;
  auto error = walk_tree(t.root(), [&](const std::string& path, EntryType type) {
    seen.emplace_back(path, type);
    // Replace a directory by a link just before the walk enters it.
    if (path == t.path("swapped")) {
      std::filesystem::remove_all(path);
      std::filesystem::create_directory_symlink(t.path("real"), path);
    }
  });
  ASSERT_TRUE(error.has_value());
  EXPECT_NE(error->find(t.path("swapped")), std::string::npos) << *error;
  for (const auto& [path, type] : seen) {
    if (path == t.path("link")) {
      EXPECT_EQ(type, EntryType::Link);
    }
    if (path == t.path("real/file.py")) {
      EXPECT_EQ(type, EntryType::File);
    }
    EXPECT_EQ(path.find("swapped/"), std::string::npos) << "entered " << path;
  }
}

}  // namespace
}  // namespace tarn
