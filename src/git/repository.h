// The repository around the current directory and the change set between the
// merge base of a reference and HEAD (or the index). Strictly read-only.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "error/result.h"
#include "git/libgit.h"

namespace tarn {

enum class ChangeKind : uint8_t { Added = 0, Modified = 1, Deleted = 2 };

struct Change {
  std::string path;  // relative to the work tree, "/"-separated, plain names only
  ChangeKind kind;
  bool operator==(const Change&) const = default;
};

// Discovers the repository upward from "." and opens it.
Result<GitRepo> open_repository();

// The work tree path as libgit2 reports it (with its trailing "/").
Result<std::string> repository_workdir(git_repository* repo);

Result<GitCommit> head_commit(git_repository* repo);
Result<GitTree> head_tree(git_repository* repo);

// Files changed between the merge base of `reference` and HEAD, and HEAD
// (or the index when `staged`), in the order libgit2 delivers the deltas.
Result<std::vector<Change>> changed_files(git_repository* repo, const std::string& reference, bool staged);

// A repository-relative path that names a migration file.
bool is_migration_path(std::string_view rel);

// Absolute paths in change-set order: the changed, not deleted migration
// files, or with `want_non_migration` every other changed file.
Result<std::vector<std::string>> select_changed_files(git_repository* repo, const std::vector<Change>& changes,
                                                      bool want_non_migration = false);

}  // namespace tarn
