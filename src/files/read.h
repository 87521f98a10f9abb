// Safe reading of files named by the user or found by the walk.
#pragma once

#include <sys/types.h>

#include <cstdint>
#include <functional>
#include <string>

#include "error/result.h"

namespace tarn {

inline constexpr uint64_t kMaxConfigBytes = 1048576;

// Whole UTF-8 text of a regular file of at most `limit` bytes: FileTooLarge
// above it, ReadFile for any other failure. Links, FIFOs, sockets, devices
// and directories are refused without being opened for reading, so nothing
// here can block.
Result<std::string> read_regular_file(const std::string& path, uint64_t limit);

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
