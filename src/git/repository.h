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

Result<GitTree> head_tree(git_repository* repo);

// The index a commit is about to record: the one GIT_INDEX_FILE names when it
// is set and not empty (git hands hooks a temporary index for `commit -a` and
// `commit PATH`; a relative name is taken from the current directory), else
// the repository's own. No other variable of git's environment is read.
Result<GitIndex> open_staged_index(git_repository* repo);

// The newer side of a change set, held for the whole run so that every file
// is looked up in the same object: HEAD's tree, or the index when staged.
struct ChangeSide {
  GitTree tree;
  GitIndex index;
};

struct ChangeSet {
  std::vector<Change> changes;
  ChangeSide side;
};

// Files changed between the merge base of `reference` and HEAD, and HEAD
// (or the index when `staged`), in the order libgit2 delivers the deltas.
Result<ChangeSet> changed_files(git_repository* repo, const std::string& reference, bool staged);

// A repository-relative path that names a migration file.
bool is_migration_path(std::string_view rel);

enum class ChangedFiles : uint8_t {
  Lintable,       // the changed, not deleted migration files
  AllMigrations,  // every changed migration file, deleted ones included
  NonMigrations,  // every other changed file, deleted ones included
};

// Absolute paths of the `which` files, in change-set order.
Result<std::vector<std::string>> select_changed_files(git_repository* repo, const std::vector<Change>& changes,
                                                      ChangedFiles which = ChangedFiles::Lintable);

}  // namespace tarn
