#include <sys/stat.h>
#include <unistd.h>

#include "config/config.h"
#include "util/canonical.h"
#include "util/path.h"

namespace tarn {

Result<Config> discover_config() {
  const auto cwd = current_dir();
  if (!cwd) return Error::read_file(".");
  return discover_config_from(*cwd);
}

Result<Config> discover_config_from(const std::string& cwd) {
  TRY_ASSIGN(std::optional<Config> own, load_config(cwd));
  if (own) return std::move(*own);

  const std::optional<std::string> root = find_git_root(cwd);
  if (!root || paths_equal(*root, cwd)) return Config{};
  // Enclosing directories are only trusted inside a work tree nobody else
  // can write to.
  if (!is_trusted_root(*root)) return Config{};

  std::string cur = cwd;
  for (;;) {
    std::optional<std::string> parent = path_parent(cur);
    if (!parent) return Config{};
    TRY_ASSIGN(std::optional<Config> found, load_config(*parent));
    if (found) return std::move(*found);
    if (paths_equal(*parent, *root)) return Config{};
    cur = std::move(*parent);
  }
}

std::optional<std::string> find_git_root(const std::string& cwd) {
  std::optional<std::string> dir = cwd;
  while (dir) {
    struct stat st {};
    if (::stat(path_join(*dir, ".git").c_str(), &st) == 0) return dir;
    dir = path_parent(*dir);
  }
  return std::nullopt;
}

bool is_trusted_root(const std::string& root) {
  struct stat st {};
  if (::stat(root.c_str(), &st) != 0) return false;
  if ((st.st_mode & 022) != 0) return false;
  return st.st_uid == 0 || st.st_uid == ::geteuid();
}

}  // namespace tarn
