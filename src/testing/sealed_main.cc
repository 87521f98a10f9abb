// The unit tests' main. Before any test (or libgit2, which reads HOME and the
// git variables once) runs, the environment is made the tests' own: a caller
// running the tests from a git hook hands down GIT_DIR, GIT_WORK_TREE and
// GIT_INDEX_FILE, and a user may keep a GIT_CONFIG_GLOBAL, an XDG_CONFIG_HOME
// or colour preferences; none of these may reach a test or the git commands
// it runs. What stays: PATH (to find git), TMPDIR (where scratch directories
// go), googletest's own GTEST_ variables, and a scratch HOME removed at the end.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "testing/temp_tree.h"

extern char** environ;

namespace {

void seal_environment(const std::string& home) {
  std::vector<std::pair<std::string, std::string>> kept;
  for (char** entry = environ; *entry != nullptr; ++entry) {
    const std::string_view text(*entry);
    const size_t eq = text.find('=');
    if (eq == std::string_view::npos) continue;
    const std::string_view name = text.substr(0, eq);
    if (name == "PATH" || name == "TMPDIR" || name.starts_with("GTEST_")) kept.emplace_back(name, text.substr(eq + 1));
  }
  clearenv();
  for (const auto& [name, value] : kept) setenv(name.c_str(), value.c_str(), 1);
  setenv("HOME", home.c_str(), 1);
  setenv("GIT_CONFIG_NOSYSTEM", "1", 1);
  setenv("NO_COLOR", "1", 1);
}

}  // namespace

int main(int argc, char** argv) {
  std::string home = tarn::testing::scratch_template("tarn-home");
  if (mkdtemp(home.data()) == nullptr) {
    std::perror("tarn_tests: cannot make a scratch HOME");
    return 2;
  }
  seal_environment(home);
  ::testing::InitGoogleTest(&argc, argv);
  const int status = RUN_ALL_TESTS();
  std::error_code ec;
  std::filesystem::remove_all(home, ec);
  return status;
}
