#include "files/read.h"

#include <errno.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

#include "parser/parser.h"
#include "testing/temp_tree.h"

namespace tarn {
namespace {

using testing::TempTree;

const ReadFailure* failure_of(const ReadOutcome& r) { return std::get_if<ReadFailure>(&r); }

TEST(ReadRegularFile, ReadsWholeTextUpToTheLimit) {
  TempTree t;
  ASSERT_EQ(std::get<std::string>(read_regular_file(t.write("a.py", "x = 1\n"), 100)), "x = 1\n");
  ASSERT_EQ(std::get<std::string>(read_regular_file(t.write("empty.py"), 100)), "");
  // Exactly the limit is accepted; one byte more is refused before reading.
  ASSERT_EQ(std::get<std::string>(read_regular_file(t.write("ten.py", "0123456789"), 10)).size(), 10u);
  const ReadOutcome big = read_regular_file(t.write("eleven.py", "0123456789a"), 10);
  ASSERT_NE(failure_of(big), nullptr);
  EXPECT_EQ(failure_of(big)->kind, ReadFailure::Kind::TooLarge);
  EXPECT_EQ(failure_of(big)->size, 11u);
  EXPECT_EQ(failure_of(big)->max, 10u);
  EXPECT_EQ(failure_of(big)->to_error("eleven.py").message(),
            "File too large: eleven.py (11 bytes, max 10 bytes)");
}

TEST(ReadRegularFile, FileLongerThanItsReportedSizeIsCutAtLimitPlusOne) {
  // /proc files are regular files that report size 0 and then deliver text,
  // just like a file that grew after its size was queried.
  const ReadOutcome r = read_regular_file("/proc/self/status", 10);
  ASSERT_NE(failure_of(r), nullptr);
  EXPECT_EQ(failure_of(r)->kind, ReadFailure::Kind::TooLarge);
  EXPECT_EQ(failure_of(r)->size, 11u);
  EXPECT_EQ(failure_of(r)->max, 10u);
}

TEST(ReadRegularFile, RefusesEverythingButRegularFiles) {
  TempTree t;
  const std::string target = t.write("real.py", "x = 1\n");
  const std::string fifo = t.path("fifo.py");
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  // A listening socket bound to a path.
  const std::string sock = t.path("sock.py");
  const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
  ASSERT_GE(fd, 0);
  sockaddr_un addr{};
  addr.sun_family = AF_UNIX;
  std::strncpy(addr.sun_path, sock.c_str(), sizeof addr.sun_path - 1);
  ASSERT_EQ(::bind(fd, reinterpret_cast<const sockaddr*>(&addr), sizeof addr), 0);

  for (const std::string& path : {t.symlink(target, "link.py"), t.symlink("missing.py", "dangling.py"),
                                  fifo, sock, t.mkdir("dir.py"), std::string("/dev/null")}) {
    // A FIFO without a writer would block an open for reading: it must not.
    const ReadOutcome r = read_regular_file(path, 100);
    ASSERT_NE(failure_of(r), nullptr) << path;
    EXPECT_EQ(failure_of(r)->kind, ReadFailure::Kind::Io) << path;
    EXPECT_EQ(failure_of(r)->text, kNonRegularFileText) << path;
    EXPECT_EQ(failure_of(r)->to_error(path).message(), "Failed to read file: " + path);
  }
  ::close(fd);

  const ReadOutcome missing = read_regular_file(t.path("nope.py"), 100);
  ASSERT_NE(failure_of(missing), nullptr);
  EXPECT_EQ(failure_of(missing)->os_error, ENOENT);
}

TEST(ReadRegularFile, RefusesInvalidUtf8) {
  TempTree t;
  const ReadOutcome r = read_regular_file(t.write("bad.py", "x = '\xff\xfe'\n"), 100);
  ASSERT_NE(failure_of(r), nullptr);
  EXPECT_EQ(failure_of(r)->kind, ReadFailure::Kind::Io);
  EXPECT_EQ(failure_of(r)->os_error, EILSEQ);
  EXPECT_NE(failure_of(r)->text.find("byte 5"), std::string::npos) << failure_of(r)->text;
}

// A source that keeps producing data past what its size promised, with
// interruptions; records how far any request could have reached.
struct GrowingSource {
  uint64_t produced = 0;
  uint64_t furthest_request = 0;
  int interruptions = 0;
  ssize_t operator()(char* buffer, size_t size) {
    if (interruptions > 0) {
      --interruptions;
      errno = EINTR;
      return -1;
    }
    furthest_request = std::max(furthest_request, produced + size);
    const size_t n = std::min<size_t>(size, 7);
    std::fill(buffer, buffer + n, 'x');
    produced += n;
    return static_cast<ssize_t>(n);
  }
};

TEST(ReadCapped, NeverTakesMoreThanLimitPlusOne) {
  for (const uint64_t hint : {0u, 5u, 100u, 200u}) {
    GrowingSource source;
    source.interruptions = 3;
    std::string out;
    ASSERT_EQ(detail::read_capped(std::ref(source), 100, hint, out), 0);
    EXPECT_EQ(out.size(), 101u) << hint;
    EXPECT_LE(source.furthest_request, 101u) << hint;
  }
}

TEST(ReadCapped, StopsAtEndOfInputAndReportsErrors) {
  std::string data = "hello world";
  size_t pos = 0;
  std::string out;
  ASSERT_EQ(detail::read_capped(
                [&](char* b, size_t n) {
                  const size_t k = std::min(n, data.size() - pos);
                  std::copy_n(data.data() + pos, k, b);
                  pos += k;
                  return static_cast<ssize_t>(k);
                },
                100, data.size(), out),
            0);
  EXPECT_EQ(out, data);

  ASSERT_EQ(detail::read_capped(
                [](char*, size_t) -> ssize_t {
                  errno = EIO;
                  return -1;
                },
                100, 10, out),
            EIO);
}

TEST(ParseMigrationFile, ReturnsTheRecordForTheGivenPath) {
  TempTree t;
  const std::string path = t.write("app/migrations/0001_initial.py",
                                   "from django.db import migrations\n\n"
                                   "class Migration(migrations.Migration):\n    operations = []\n");
  auto m = parse_migration_file(path);
  ASSERT_TRUE(m.ok()) << m.error().message();
  EXPECT_EQ(m->path, path);

  auto empty = parse_migration_file(t.write("app/migrations/0002_empty.py"));
  ASSERT_TRUE(empty.ok()) << empty.error().message();
}

TEST(ParseMigrationFile, ErrorsNameThePathAsGiven) {
  TempTree t;
  const std::string real = t.write("m/0001_a.py", "x = 1\n");
  const std::string link = t.symlink(real, "m/0002_link.py");
  const std::string fifo = t.path("m/0003_fifo.py");
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  const std::string bad_utf8 = t.write("m/0004_bad.py", "x = '\xc3'\n");
  for (const std::string& path : {link, fifo, bad_utf8, t.path("m/missing.py")}) {
    auto m = parse_migration_file(path);
    ASSERT_FALSE(m.ok()) << path;
    EXPECT_EQ(m.error().kind, ErrorKind::ReadFile) << path;
    EXPECT_EQ(m.error().message(), "Failed to read file: " + path);
  }

  auto syntax = parse_migration_file(t.write("m/0005_syntax.py", "x = 1\ny = 2\nz = 1 2 3\n"));
  ASSERT_FALSE(syntax.ok());
  EXPECT_EQ(syntax.error().message(), "Parse error in " + t.path("m/0005_syntax.py") + " at line 3, column 4");

  auto deep = parse_migration_file(t.write("m/0006_deep.py", "x = " + std::string(300, '[') + std::string(300, ']')));
  ASSERT_FALSE(deep.ok());
  EXPECT_EQ(deep.error().message(), "Failed to parse Python file: " + t.path("m/0006_deep.py") +
                                        ": AST nesting exceeds the maximum depth of 256");
}

TEST(ParseMigrationFile, SizeLimitIsExact) {
  TempTree t;
  // A comment line of exactly the limit parses; one more byte is refused.
  std::string text = "#" + std::string(kMaxMigrationBytes - 2, 'a') + "\n";
  auto at_limit = parse_migration_file(t.write("m/0001_big.py", text));
  EXPECT_TRUE(at_limit.ok()) << at_limit.error().message();
  text.insert(0, " ");
  const std::string over = t.write("m/0002_bigger.py", text);
  auto m = parse_migration_file(over);
  ASSERT_FALSE(m.ok());
  EXPECT_EQ(m.error().message(), "File too large: " + over + " (10485761 bytes, max 10485760 bytes)");
}

TEST(FindFirstErrorNode, PreOrderNodeBeforeDescendants) {
  struct Row {
    const char* source;
    uint32_t row, column;
    const char* type;
  };
  const Row rows[] = {
      // the error sits in the third statement, after two clean subtrees
      {"x = 1\ny = 2\nz = 1 2 3\n", 2, 4, "ERROR"},
      // a MISSING token on its own
      {"def f(:\n  pass\n", 0, 6, ")"},
      // an ERROR node that contains a MISSING node (at column 16) is reported itself
      {"{ lambda : { + (    . for", 0, 0, "ERROR"},
  };
  for (const auto& row : rows) {
    auto tree = parse_python(row.source, "x.py");
    ASSERT_TRUE(tree.ok());
    const auto node = find_first_error_node(ts_tree_root_node(tree->get()));
    ASSERT_TRUE(node.has_value()) << row.source;
    EXPECT_STREQ(ts_node_type(*node), row.type) << row.source;
    EXPECT_EQ(ts_node_start_point(*node).row, row.row) << row.source;
    EXPECT_EQ(ts_node_start_point(*node).column, row.column) << row.source;
  }
  auto clean = parse_python("x = 1\n", "x.py");
  ASSERT_TRUE(clean.ok());
  EXPECT_FALSE(find_first_error_node(ts_tree_root_node(clean->get())).has_value());
}

}  // namespace
}  // namespace tarn
