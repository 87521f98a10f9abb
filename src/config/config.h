// The effective configuration of a run and the loading of one directory's
// configuration files.
#pragma once

#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "error/result.h"

namespace tarn {

struct Config {
  std::set<std::string> select;  // empty: every rule
  std::set<std::string> ignore;
  bool warnings_as_errors = false;
  std::vector<std::string> exclude;                // glob patterns, order and duplicates kept
  std::vector<std::string> allowed_file_patterns;  // glob patterns
};

// One configuration table as written; a field is absent when its key is.
struct FileConfig {
  std::optional<std::vector<std::string>> select;                 // "select"
  std::optional<std::vector<std::string>> ignore;                 // "ignore"
  std::optional<bool> warnings_as_errors;                         // "warnings-as-errors"
  std::optional<std::vector<std::string>> exclude;                // "exclude"
  std::optional<std::vector<std::string>> allowed_file_patterns;  // "allowed-file-patterns"
};

// The `tool` table of pyproject.toml.
struct Tool {
  std::optional<FileConfig> tarn;
};

// What pyproject.toml holds for this program.
struct PyProjectToml {
  std::optional<Tool> tool;
};

// Parse a whole pyproject.toml / stillwater.toml text. Syntax errors,
// duplicate keys and values of the wrong type fail with ConfigParse naming
// `path`; unknown keys are ignored.
Result<PyProjectToml> parse_pyproject_toml(std::string_view text, const std::string& path);
Result<FileConfig> parse_file_config(std::string_view text, const std::string& path);

// Lays every key present in `file` over `config`.
void merge_file_config(Config& config, const FileConfig& file);

// The configuration of one directory: nothing when neither pyproject.toml
// (with a [tool.tarn] table) nor stillwater.toml configures it.
Result<std::optional<Config>> load_config(const std::string& dir);

// The configuration for the current directory: its own, else (inside a
// trusted git work tree) the nearest enclosing directory's up to the work-tree
// root, else the defaults.
Result<Config> discover_config();
// The same search starting from `cwd` instead of the current directory.
Result<Config> discover_config_from(const std::string& cwd);

// Nearest directory, from `cwd` upward to "/", holding a ".git" entry.
std::optional<std::string> find_git_root(const std::string& cwd);

// Owned by root or the effective user and writable by neither group nor others.
bool is_trusted_root(const std::string& root);

}  // namespace tarn
