// Which files a path-mode run lints, and the directory walk that finds them.
#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "error/result.h"

namespace tarn {

// Directory handles the walk keeps open at most; deeper levels are buffered.
inline constexpr size_t kMaxOpenDirectories = 10;

enum class EntryType { File, Directory, Link, Other };

// Visits every entry below `dir` depth-first, a directory before its
// contents, entries in the order the system lists them, links never
// followed. Each entry's path is `dir` joined with its path below `dir`.
// Stops at the first failure and returns its description.
std::optional<std::string> walk_tree(const std::string& dir,
                                     const std::function<void(const std::string& path, EntryType type)>& visit);

// The files a path-mode run lints, sorted component-wise and without
// duplicates: the migration files found under each directory of `paths`, and
// each regular ".py" file it names, leaving out what `exclude` matches.
// Fails with InvalidGlob, ReadFile (no current directory), InvalidPath
// (missing, or neither directory nor regular file) or WalkDir.
Result<std::vector<std::string>> select_path_files(const std::vector<std::string>& paths,
                                                   const std::vector<std::string>& exclude);

}  // namespace tarn
