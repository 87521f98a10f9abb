// Safe reading of files named by the user or found by the walk.
#pragma once

#include <sys/types.h>

#include <cstdint>
#include <functional>
#include <string>
#include <variant>

#include "error/result.h"

namespace tarn {

inline constexpr uint64_t kMaxConfigBytes = 1048576;

inline constexpr const char* kNonRegularFileText =
    "refusing to read non-regular file (symlink, fifo, device, etc.)";

struct ReadFailure {
  enum class Kind : uint8_t { TooLarge, Io };
  Kind kind = Kind::Io;
  uint64_t size = 0;  // TooLarge: bytes found (limit + 1 when the file grew)
  uint64_t max = 0;   // TooLarge: the limit
  int os_error = 0;   // Io: errno, or 0 for a failure detected here
  std::string text;   // Io: description of the failure

  // FileTooLarge for TooLarge, ReadFile carrying the text otherwise.
  Error to_error(std::string path) const;
};

using ReadOutcome = std::variant<std::string, ReadFailure>;

// Whole UTF-8 text of a regular file of at most `limit` bytes. Links, FIFOs,
// sockets, devices and directories are refused without being opened for
// reading, so nothing here can block.
ReadOutcome read_regular_file(const std::string& path, uint64_t limit);

namespace detail {

// A read(2)-like source: fills up to `size` bytes, returns the count, 0 at end
// of input, or -1 with errno set.
using ReadSome = std::function<ssize_t(char* buffer, size_t size)>;

// Reads to end of input, retrying interrupted reads, but never takes more than
// limit + 1 bytes; `size_hint` sizes the buffer once. Returns 0 or the errno
// of the failing read.
int read_capped(const ReadSome& read_some, uint64_t limit, uint64_t size_hint, std::string& out);

}  // namespace detail

}  // namespace tarn
