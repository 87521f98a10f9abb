#include "util/canonical.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <memory>

namespace tarn {

namespace {
// A path holding a NUL byte can never name a file.
bool has_nul(std::string_view path) { return path.find('\0') != std::string_view::npos; }

void set_err(int* err, int value) {
  if (err != nullptr) *err = value;
}
}  // namespace

std::optional<std::string> current_dir(int* err) {
  std::unique_ptr<char, decltype(&std::free)> buf(getcwd(nullptr, 0), &std::free);
  if (!buf) {
    set_err(err, errno);
    return std::nullopt;
  }
  return std::string(buf.get());
}

std::optional<std::string> canonicalize(std::string_view path, int* err) {
  if (has_nul(path)) {
    set_err(err, EINVAL);
    return std::nullopt;
  }
  const std::string owned(path);
  std::unique_ptr<char, decltype(&std::free)> buf(realpath(owned.c_str(), nullptr), &std::free);
  if (!buf) {
    set_err(err, errno);
    return std::nullopt;
  }
  return std::string(buf.get());
}

bool exists_following_links(std::string_view path) {
  if (has_nul(path)) return false;
  struct stat st;
  return stat(std::string(path).c_str(), &st) == 0;
}

std::string os_error_text(int err) {
  return std::string(std::strerror(err)) + " (os error " + std::to_string(err) + ")";
}

}  // namespace tarn
