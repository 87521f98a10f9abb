#include "files/discover.h"

#include <dirent.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "testing/temp_tree.h"

namespace tarn {
namespace {

using testing::CwdGuard;
using testing::TempTree;
using Paths = std::vector<std::string>;

// Django, Alembic and Aerich layouts side by side with look-alikes that are
// not migrations, links that must not be followed and a FIFO that must not
// be opened.
void make_mixed_project(const TempTree& t) {
  t.write("app/migrations/0001_initial.py", "x = 1\n");
  t.write("app/migrations/0002_more.py");
  t.write("app/migrations/__init__.py");
  t.write("app/migrations/0003_x.pyc");
  t.write("app/migrations/0004_upper.PY");
  t.write("app/migrations/.py");
  t.write("app/migrations/notes.txt");
  t.write("app/migrations/helpers/util.py");
  t.write("app/models.py");
  t.write("alembic/versions/abc123_add_table.py");
  t.write("alembic/env.py");
  t.write("db/migrations/versions/def456_drop.py");
  t.write("migrations/models/1_20240101120000_init.py");
  t.write("migrations/models/abc_x.py");
  t.write("migrations/models/1_.py");
  t.write("migrations/models/-1_x.py");
  t.write("tools/migrations_old/0001_x.py");
  t.write("docs/Migrations/0001_x.py");
  t.write("0001_loose.py");
  t.symlink(t.path("app/migrations/0001_initial.py"), "app/migrations/0005_link.py");
  t.symlink(t.path("app"), "linked_app");
  t.symlink("..", "app/migrations/loop");
  ::mkfifo(t.path("app/migrations/0006_fifo.py").c_str(), 0600);
}

const Paths kMixedFound = {
    "alembic/versions/abc123_add_table.py", "app/migrations/0001_initial.py", "app/migrations/0002_more.py",
    "db/migrations/versions/def456_drop.py", "migrations/models/1_20240101120000_init.py"};

Paths prefixed(const std::string& prefix, const Paths& rels) {
  Paths out;
  for (const auto& r : rels) out.push_back(prefix + r);
  return out;
}

TEST(DiscoverMigrationFiles, FindsEachFrameworkAndSkipsDecoys) {
  TempTree t;
  make_mixed_project(t);
  auto found = discover_migration_files(t.root(), {});
  ASSERT_TRUE(found.ok()) << found.error().message();
  EXPECT_EQ(*found, prefixed(t.root() + "/", kMixedFound));

  // The directory keeps the form it was named in.
  auto slashed = discover_migration_files(t.root() + "/", {});
  ASSERT_TRUE(slashed.ok());
  EXPECT_EQ(*slashed, prefixed(t.root() + "/", kMixedFound));
}

TEST(DiscoverMigrationFiles, ExcludePatternsMatchRelativeForms) {
  TempTree t;
  make_mixed_project(t);
  CwdGuard cwd(t.root());

  auto dot = discover_migration_files(".", {"app/migrations/*"});
  ASSERT_TRUE(dot.ok()) << dot.error().message();
  EXPECT_EQ(*dot, prefixed("./", {"alembic/versions/abc123_add_table.py", "db/migrations/versions/def456_drop.py",
                                  "migrations/models/1_20240101120000_init.py"}));

  // An absolute directory under the current one: the pattern applies below the root.
  auto abs = discover_migration_files(t.path("app"), {"app/migrations/0001_*"});
  ASSERT_TRUE(abs.ok());
  EXPECT_EQ(*abs, Paths{t.path("app/migrations/0002_more.py")});

  auto all = discover_migration_files(".", {"*"});
  ASSERT_TRUE(all.ok());
  EXPECT_TRUE(all->empty());

  auto capital = discover_migration_files("app", {"A*"});
  ASSERT_TRUE(capital.ok());
  EXPECT_EQ(*capital, (Paths{"app/migrations/0001_initial.py", "app/migrations/0002_more.py"}));

  auto recursive = discover_migration_files(".", {"**/versions/*"});
  ASSERT_TRUE(recursive.ok());
  EXPECT_EQ(*recursive, prefixed("./", {"app/migrations/0001_initial.py", "app/migrations/0002_more.py",
                                        "migrations/models/1_20240101120000_init.py"}));
}

TEST(DiscoverMigrationFiles, SortsComponentWise) {
  TempTree t;
  // Byte order would put "a-b/" before "a/"; component order does not.
  t.write("a-b/migrations/0001_x.py");
  t.write("a/migrations/0001_x.py");
  t.write("a/migrations/0001_x_y.py");
  t.write("a/migrations/0001-x.py");
  auto found = discover_migration_files(t.root(), {});
  ASSERT_TRUE(found.ok());
  EXPECT_EQ(*found, prefixed(t.root() + "/", {"a/migrations/0001-x.py", "a/migrations/0001_x.py",
                                              "a/migrations/0001_x_y.py", "a-b/migrations/0001_x.py"}));
}

TEST(DiscoverMigrationFiles, NamedPathThatIsNotADirectory) {
  TempTree t;
  make_mixed_project(t);
  const std::string file = t.path("app/migrations/0001_initial.py");
  auto one = discover_migration_files(file, {});
  ASSERT_TRUE(one.ok());
  EXPECT_EQ(*one, Paths{file});

  for (const char* rel : {"app/models.py", "app/migrations/__init__.py"}) {
    auto none = discover_migration_files(t.path(rel), {});
    ASSERT_TRUE(none.ok());
    EXPECT_TRUE(none->empty()) << rel;
  }
  auto excluded = discover_migration_files(file, {"*/0001_*"});
  ASSERT_TRUE(excluded.ok());
  EXPECT_TRUE(excluded->empty());

  for (const char* rel : {"linked_app", "app/migrations/0005_link.py", "app/migrations/0006_fifo.py", "missing"}) {
    auto refused = discover_migration_files(t.path(rel), {});
    ASSERT_FALSE(refused.ok()) << rel;
    EXPECT_EQ(refused.error().message(), "Invalid path: " + t.path(rel));
  }
}

TEST(DiscoverMigrationFiles, InvalidPatternIsReportedBeforeWalking) {
  TempTree t;
  auto r = discover_migration_files(t.path("missing"), {"*.txt", "["});
  ASSERT_FALSE(r.ok());
  EXPECT_EQ(r.error().message(), "Invalid glob pattern '[': Pattern syntax error near position 0: invalid range pattern");
}

// Runs `check` in a child process that, when the tests run as root, first
// becomes an ordinary user, since root reads any directory; true when the
// check passed there.
template <typename Check>
bool passes_without_privileges(Check&& check) {
  const pid_t pid = ::fork();
  if (pid == 0) {
    if (::geteuid() == 0 && (::setgid(65534) != 0 || ::setuid(65534) != 0)) ::_exit(2);
    ::_exit(check() ? 0 : 1);
  }
  int status = 0;
  return pid > 0 && ::waitpid(pid, &status, 0) == pid && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

TEST(DiscoverMigrationFiles, UnreadableSubdirectoryFailsTheWholeWalk) {
  TempTree t;
  ASSERT_EQ(::chmod(t.root().c_str(), 0755), 0);
  t.write("app/migrations/0001_initial.py");
  const std::string locked = t.mkdir("app/locked");
  ASSERT_EQ(::chmod(locked.c_str(), 0), 0);
  EXPECT_TRUE(passes_without_privileges([&] {
    auto r = discover_migration_files(t.root(), {});
    return !r.ok() && r.error().message() == "Failed to walk directory: " + t.root();
  }));
}

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

TEST(PathWithin, ComponentPrefixes) {
  const std::tuple<const char*, const char*, bool> rows[] = {
      {"a/b", ".", true},  {"/x/y", ".", true}, {"a/b", "./", true},   {"a/b", "a", true},
      {"a/b", "a/b", true}, {"a/./b", "a/b/", true}, {"ab", "a", false}, {"a", "a/b", false},
      {"/a/b", "/a", true}, {"a/b", "/a", false},
  };
  for (const auto& [path, selector, within] : rows) EXPECT_EQ(path_within(path, selector), within) << path << " in " << selector;
}

TEST(NormalizePath, CanonicalWhenItExistsElseReRooted) {
  TempTree t;
  const std::string real = t.mkdir("real");
  t.write("real/x.py");
  const std::string base = t.symlink(real, "base");
  const std::string other = t.mkdir("other");
  const std::tuple<std::string, std::string> rows[] = {
      {base + "/x.py", real + "/x.py"},
      {base + "/gone.py", real + "/gone.py"},
      {real + "/sub/gone.py", real + "/sub/gone.py"},
      {base, real},
      {"rel/gone.py", real + "/rel/gone.py"},
      {other + "/gone.py", other + "/gone.py"},
      {"/nonexistent-root/gone.py", "/nonexistent-root/gone.py"},
  };
  for (const auto& [path, expected] : rows) EXPECT_EQ(normalize_path(path, base, real), expected) << path;
}

}  // namespace
}  // namespace tarn
