#include "files/read.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

#include "util/utf8.h"

namespace tarn {

namespace {

class FileDescriptor {
 public:
  explicit FileDescriptor(int fd) : fd_(fd) {}
  ~FileDescriptor() {
    if (fd_ >= 0) ::close(fd_);
  }
  FileDescriptor(const FileDescriptor&) = delete;
  FileDescriptor& operator=(const FileDescriptor&) = delete;
  int get() const { return fd_; }

 private:
  int fd_;
};

}  // namespace

namespace detail {

int read_capped(const ReadSome& read_some, uint64_t limit, uint64_t size_hint, std::string& out) {
  const uint64_t cap = limit == UINT64_MAX ? limit : limit + 1;
  std::string buf(static_cast<size_t>(std::min(size_hint, cap)), '\0');
  size_t filled = 0;
  while (filled < cap) {
    if (filled == buf.size()) {
      // The buffer holds what the size promised: probe for end of input
      // before growing, so an unchanged file is never reallocated.
      char probe[64];
      const ssize_t n = read_some(probe, static_cast<size_t>(std::min<uint64_t>(sizeof probe, cap - filled)));
      if (n < 0) {
        if (errno == EINTR) continue;
        return errno;
      }
      if (n == 0) break;
      buf.append(probe, static_cast<size_t>(n));
      filled += static_cast<size_t>(n);
      buf.resize(static_cast<size_t>(std::min<uint64_t>(cap, std::max<size_t>(buf.size() * 2, 8192))));
      continue;
    }
    const ssize_t n = read_some(buf.data() + filled, static_cast<size_t>(std::min<uint64_t>(buf.size() - filled, cap - filled)));
    if (n < 0) {
      if (errno == EINTR) continue;
      return errno;
    }
    if (n == 0) break;
    filled += static_cast<size_t>(n);
  }
  buf.resize(filled);
  out = std::move(buf);
  return 0;
}

}  // namespace detail

Result<std::string> read_regular_file(const std::string& path, uint64_t limit) {
  struct stat st {};
  if (::lstat(path.c_str(), &st) != 0) return Error::read_file(path);
  // Checked before opening: opening a FIFO for reading would wait for a writer.
  if (!S_ISREG(st.st_mode)) return Error::read_file(path);

  // O_NOFOLLOW refuses a link swapped in since the check above; O_NONBLOCK
  // keeps a FIFO swapped in from blocking the open, and fstat refuses it.
  FileDescriptor fd(::open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC | O_NONBLOCK));
  if (fd.get() < 0 || ::fstat(fd.get(), &st) != 0 || !S_ISREG(st.st_mode)) return Error::read_file(path);

  const auto size = static_cast<uint64_t>(st.st_size);
  if (size > limit) return Error::file_too_large(path, size, limit);

  std::string text;
  if (detail::read_capped([&](char* b, size_t n) { return ::read(fd.get(), b, n); }, limit, size, text) != 0) {
    return Error::read_file(path);
  }
  // A file that grew since its size was read is cut at limit + 1 bytes.
  if (text.size() > limit) return Error::file_too_large(path, text.size(), limit);
  if (!is_valid_utf8(text)) return Error::read_file(path);
  return text;
}

}  // namespace tarn
