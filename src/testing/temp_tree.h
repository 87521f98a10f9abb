// Test support: a throw-away directory tree under /tmp, removed on scope exit,
// and a guard that restores the current directory.
#pragma once

#include <unistd.h>

#include <climits>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>

namespace tarn::testing {

class TempTree {
 public:
  TempTree() {
    char name[] = "/tmp/tarn-test-XXXXXX";
    const char* made = ::mkdtemp(name);
    root_ = made != nullptr ? made : "";
  }
  ~TempTree() {
    std::error_code ec;
    // Give back permissions a test took away so everything can be removed.
    for (auto it = std::filesystem::recursive_directory_iterator(root_, ec);
         !ec && it != std::filesystem::recursive_directory_iterator(); it.increment(ec)) {
      if (it->is_directory(ec) && !it->is_symlink(ec)) {
        std::filesystem::permissions(it->path(), std::filesystem::perms::owner_all,
                                     std::filesystem::perm_options::add, ec);
      }
    }
    std::filesystem::remove_all(root_, ec);
  }
  TempTree(const TempTree&) = delete;
  TempTree& operator=(const TempTree&) = delete;

  const std::string& root() const { return root_; }
  std::string path(std::string_view rel) const { return root_ + "/" + std::string(rel); }

  // Writes a file, creating its parent directories.
  std::string write(std::string_view rel, std::string_view content = "") const {
    const std::string p = path(rel);
    std::filesystem::create_directories(std::filesystem::path(p).parent_path());
    std::ofstream(p, std::ios::binary) << content;
    return p;
  }
  std::string mkdir(std::string_view rel) const {
    const std::string p = path(rel);
    std::filesystem::create_directories(p);
    return p;
  }
  std::string symlink(std::string_view target, std::string_view rel) const {
    const std::string p = path(rel);
    std::filesystem::create_directories(std::filesystem::path(p).parent_path());
    std::filesystem::create_symlink(std::string(target), p);
    return p;
  }

 private:
  std::string root_;
};

class CwdGuard {
 public:
  explicit CwdGuard(const std::string& dir) {
    char buf[PATH_MAX];
    if (::getcwd(buf, sizeof buf) != nullptr) saved_ = buf;
    if (::chdir(dir.c_str()) != 0) std::abort();
  }
  ~CwdGuard() {
    if (!saved_.empty() && ::chdir(saved_.c_str()) != 0) std::abort();
  }
  CwdGuard(const CwdGuard&) = delete;
  CwdGuard& operator=(const CwdGuard&) = delete;

 private:
  std::string saved_;
};

}  // namespace tarn::testing
