// The repository around the current directory and the change set between the
// merge base of a reference and HEAD (or the index). Strictly read-only.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
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
// Entries added with intent to add (`git add -N`) hold no content and a
// commit leaves them out, so they are dropped from the object read here
// (never from the file): the files are absent from the staged side.
Result<GitIndex> open_staged_index(git_repository* repo);

// A file's object on the newer side of a change set, as the diff found it.
struct SideEntry {
  git_oid id;
  uint32_t mode;
};

// The newer side of a change set, held for the whole run so that every file
// is looked up in the same object: HEAD's tree, or the index when staged.
struct ChangeSide {
  GitTree tree;
  GitIndex index;
  // HEAD's entry of every changed file that HEAD holds, by repository path.
  // A lookup by path in the tree inflates each folder on the way again
  // (libgit2 caches no tree above 4 KiB), so files of one large folder cost
  // the folder's size each; by id each costs its own size.
  std::unordered_map<std::string, SideEntry> head_entries;
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
