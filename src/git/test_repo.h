// Test support: throwaway git repositories built with the git command-line
// tool, and a guard that runs a test from a chosen directory.
#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "util/canonical.h"

namespace tarn::testing {

inline std::string shell_quote(const std::string& s) {
  std::string out = "'";
  for (char c : s) {
    if (c == '\'') {
      out += "'\\''";
    } else {
      out += c;
    }
  }
  return out + "'";
}

// A fresh directory under /tmp, removed with everything in it.
class TempDir {
 public:
  TempDir() {
    std::string tmpl = "/tmp/tarn-git-XXXXXX";
    const char* made = mkdtemp(tmpl.data());
    EXPECT_NE(made, nullptr);
    // The canonical form, so paths compare equal to what the library reports.
    path_ = canonicalize(tmpl).value_or(tmpl);
  }
  ~TempDir() {
    std::error_code ec;
    std::filesystem::permissions(path_, std::filesystem::perms::owner_all, ec);
    std::filesystem::remove_all(path_, ec);
  }
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;
  const std::string& path() const { return path_; }
  std::string operator/(const std::string& rel) const { return path_ + "/" + rel; }

 private:
  std::string path_;
};

// A repository at <tmp>/repo whose git commands never see the user's or the
// system's configuration.
class TempRepo {
 public:
  explicit TempRepo(const std::string& init_flags = "") {
    std::filesystem::create_directories(dir());
    git("init -q " + init_flags + " -b main .");
  }
  std::string dir() const { return tmp_ / "repo"; }
  // Absolute path of a file in the work tree.
  std::string at(const std::string& rel) const { return dir() + "/" + rel; }
  // The work tree as libgit2 reports it.
  std::string workdir() const { return dir() + "/"; }

  // Runs `git <args>` in the repository; fails the test on a non-zero status.
  void git(const std::string& args) const {
    const std::string cmd = "cd " + shell_quote(dir()) + " && env -u GIT_DIR -u GIT_WORK_TREE -u GIT_INDEX_FILE" +
                            " GIT_CONFIG_NOSYSTEM=1 HOME=" + shell_quote(tmp_.path()) +
                            " git -c user.name=tarn -c user.email=tarn@example.com -c commit.gpgsign=false"
                            " -c core.autocrlf=false " +
                            args + " >/dev/null 2>&1";
    ASSERT_EQ(std::system(cmd.c_str()), 0) << cmd;
  }

  void write(const std::string& rel, const std::string& bytes) const {
    const std::filesystem::path p = at(rel);
    std::filesystem::create_directories(p.parent_path());
    std::ofstream out(p, std::ios::binary | std::ios::trunc);
    out << bytes;
  }
  void remove(const std::string& rel) const { std::filesystem::remove_all(at(rel)); }

  // Writes and commits one file.
  void commit_file(const std::string& rel, const std::string& bytes, const std::string& message = "c") const {
    write(rel, bytes);
    git("add -- " + shell_quote(rel));
    git("commit -q -m " + shell_quote(message));
  }

 private:
  TempDir tmp_;
};

// Runs the enclosing scope from `dir`, restoring the previous directory.
class CwdGuard {
 public:
  explicit CwdGuard(const std::string& dir) : old_(current_dir().value_or("/")) {
    EXPECT_EQ(chdir(dir.c_str()), 0) << dir;
  }
  ~CwdGuard() { (void)!chdir(old_.c_str()); }
  CwdGuard(const CwdGuard&) = delete;
  CwdGuard& operator=(const CwdGuard&) = delete;

 private:
  std::string old_;
};

}  // namespace tarn::testing
