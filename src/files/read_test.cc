#include "files/read.h"

#include <errno.h>
#include <sys/stat.h>

#include <gtest/gtest.h>

#include <algorithm>

#include "testing/temp_tree.h"

namespace tarn {
namespace {

using testing::TempTree;

TEST(ReadRegularFile, FileLongerThanItsReportedSizeIsCutAtLimitPlusOne) {
  // /proc files are regular files that report size 0 and then deliver text,
  // just like a file that grew after its size was queried.
  const auto r = read_regular_file("/proc/self/status", 10);
  ASSERT_FALSE(r.ok());
  EXPECT_EQ(r.error().message(), "File too large: /proc/self/status (11 bytes, max 10 bytes)");
}

TEST(ReadRegularFile, RefusesEverythingButRegularUtf8Files) {
  TempTree t;
  const std::string target = t.write("real.py", "x = 1\n");
  const std::string fifo = t.path("fifo.py");
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);

  // A FIFO without a writer would block an open for reading: it must not.
  for (const std::string& path : {t.symlink(target, "link.py"), t.symlink("missing.py", "dangling.py"), fifo,
                                  t.mkdir("dir.py"), std::string("/dev/null"), t.path("nope.py"),
                                  t.write("bad.py", "x = '\xff\xfe'\n")}) {
    const auto r = read_regular_file(path, 100);
    ASSERT_FALSE(r.ok()) << path;
    EXPECT_EQ(r.error().message(), "Failed to read file: " + path);
  }
  EXPECT_EQ(*read_regular_file(target, 100), "x = 1\n");
}

// A source that keeps producing data past what its size promised, with
// interruptions; records how far any request could have reached.
struct GrowingSource {
  uint64_t produced = 0;
  uint64_t furthest_request = 0;
  int interruptions = 3;
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
    std::string out;
    ASSERT_EQ(detail::read_capped(std::ref(source), 100, hint, out), 0);
    EXPECT_EQ(out.size(), 101u) << hint;
    EXPECT_LE(source.furthest_request, 101u) << hint;
  }
  std::string out;
  const auto failing = [](char*, size_t) -> ssize_t {
    errno = EIO;
    return -1;
  };
  EXPECT_EQ(detail::read_capped(failing, 100, 10, out), EIO);
}

}  // namespace
}  // namespace tarn
