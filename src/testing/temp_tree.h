// Test support: throw-away directory trees and git repositories under TMPDIR
// (else /tmp), and a guard that runs a scope from another directory.
#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>

#include "util/canonical.h"

namespace tarn::testing {

// A mkdtemp template for a scratch directory where mktemp(1) would put it.
inline std::string scratch_template(std::string_view prefix) {
  const char* dir = std::getenv("TMPDIR");
  return std::string(dir != nullptr && *dir != '\0' ? dir : "/tmp") + "/" + std::string(prefix) + "-XXXXXX";
}

// A fresh directory, removed with everything in it on scope exit. Its root is
// canonical, so paths compare equal to the ones the system resolves.
class TempTree {
 public:
  TempTree() {
    std::string name = scratch_template("tarn-test");
    EXPECT_NE(::mkdtemp(name.data()), nullptr);
    root_ = canonicalize(name).value_or(name);
  }
  ~TempTree() {
    std::error_code ec;
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

// A repository at <tmp>/repo whose git commands never see the user's or the
// system's configuration.
class TempRepo {
 public:
  TempRepo() {
    tmp_.mkdir("repo");
    git("init -q -b main .");
  }
  const TempTree& tmp() const { return tmp_; }
  std::string dir() const { return tmp_.path("repo"); }
  // Absolute path of a file in the work tree.
  std::string at(const std::string& rel) const { return tmp_.path("repo/" + rel); }
  // The work tree as libgit2 reports it.
  std::string workdir() const { return dir() + "/"; }

  // Runs `git <args>` in the repository; fails the test on a non-zero status.
  void git(const std::string& args) const {
    const std::string cmd = "cd " + quote(dir()) + " && env -u GIT_DIR -u GIT_WORK_TREE -u GIT_INDEX_FILE" +
                            " GIT_CONFIG_NOSYSTEM=1 HOME=" + quote(tmp_.root()) +
                            " git -c user.name=tarn -c user.email=tarn@example.com -c commit.gpgsign=false"
                            " -c core.autocrlf=false " +
                            args + " >/dev/null 2>&1";
    ASSERT_EQ(std::system(cmd.c_str()), 0) << cmd;
  }
  void write(const std::string& rel, const std::string& bytes) const { tmp_.write("repo/" + rel, bytes); }
  void remove(const std::string& rel) const { std::filesystem::remove_all(at(rel)); }
  // Commits everything in the work tree.
  void commit_all(const std::string& message) const {
    git("add -A");
    git("commit -q -m " + quote(message));
  }
  void commit_file(const std::string& rel, const std::string& bytes) const {
    write(rel, bytes);
    git("add -- " + quote(rel));
    git("commit -q -m c");
  }

 private:
  static std::string quote(const std::string& s) {
    std::string out = "'";
    for (char c : s) out += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return out + "'";
  }
  TempTree tmp_;
};

// Runs the enclosing scope from `dir`, restoring the previous directory.
class CwdGuard {
 public:
  explicit CwdGuard(const std::string& dir) : old_(current_dir().value_or("/")) {
    EXPECT_EQ(::chdir(dir.c_str()), 0) << dir;
  }
  ~CwdGuard() { (void)!::chdir(old_.c_str()); }
  CwdGuard(const CwdGuard&) = delete;
  CwdGuard& operator=(const CwdGuard&) = delete;

 private:
  std::string old_;
};

}  // namespace tarn::testing
