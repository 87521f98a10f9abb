#include "git/repository.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <optional>

#include "util/canonical.h"
#include "util/migration_layout.h"
#include "util/path.h"

namespace tarn {

Result<GitRepo> open_repository() {
  ensure_libgit2();
  git_buf dir = GIT_BUF_INIT;
  int rc = git_repository_discover(&dir, ".", /*across_fs=*/1, /*ceiling_dirs=*/nullptr);
  git_repository* raw = nullptr;
  if (rc == 0) rc = git_repository_open(&raw, dir.ptr);
  GitRepo repo(raw);
  git_buf_dispose(&dir);
  if (rc != 0) return Error::git(git_failure("Failed to find git repository: ", rc));
  return repo;
}

Result<std::string> repository_workdir(git_repository* repo) {
  const char* workdir = git_repository_workdir(repo);
  if (workdir == nullptr) return Error::git(kBareRepoMessage);
  return std::string(workdir);
}

namespace {

Result<GitCommit> head_commit(git_repository* repo) {
  git_reference* raw_ref = nullptr;
  int rc = git_repository_head(&raw_ref, repo);
  GitReference head(raw_ref);
  if (rc != 0) return Error::git(git_failure("Failed to get HEAD: ", rc));
  git_object* raw_obj = nullptr;
  rc = git_reference_peel(&raw_obj, head.get(), GIT_OBJECT_COMMIT);
  GitObject obj(raw_obj);
  if (rc != 0) return Error::git(git_failure("Failed to get HEAD commit: ", rc));
  // A peeled commit object is a git_commit.
  return GitCommit(reinterpret_cast<git_commit*>(obj.release()));
}

}  // namespace

Result<GitTree> head_tree(git_repository* repo) {
  TRY_ASSIGN(GitCommit commit, head_commit(repo));
  git_tree* raw = nullptr;
  const int rc = git_commit_tree(&raw, commit.get());
  GitTree tree(raw);
  if (rc != 0) return Error::git(git_failure("Failed to get tree for HEAD: ", rc));
  return tree;
}

namespace {

// A 12-byte header and a 20-byte checksum at the least.
constexpr off_t kMinIndexBytes = 32;

// libgit2 reports an index file it may not open, or one too short to hold an
// index, as one that "no longer exists"; the file itself says what is wrong.
std::optional<std::string> index_file_problem(const std::string& path) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  if (fd < 0) return errno == ENOENT ? std::nullopt : std::optional(os_error_text(errno));
  struct stat st {};
  const bool too_short = fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && st.st_size < kMinIndexBytes;
  ::close(fd);
  if (too_short) return "index file smaller than expected";
  return std::nullopt;
}

Result<GitIndex> open_index_file(git_repository* repo, const char* named) {
  git_index* raw = nullptr;
  if (named == nullptr) {
    int rc = git_repository_index(&raw, repo);
    GitIndex index(raw);
    // The repository keeps its index object; make sure it reflects the file.
    if (rc == 0) rc = git_index_read(index.get(), /*force=*/0);
    if (rc != 0) {
      const char* known = index ? git_index_path(index.get()) : nullptr;
      const std::string path = known ? std::string(known) : std::string(git_repository_path(repo)) + "index";
      if (auto problem = index_file_problem(path)) {
        return Error::git("Failed to read git index: '" + path + "': " + *problem);
      }
      return Error::git(git_failure("Failed to read git index: ", rc));
    }
    return index;
  }
  const std::string prefix = "Failed to read git index '" + std::string(named) + "': ";
  // libgit2 takes a missing file for an empty index, which would read as
  // every file deleted; a named index must be there, and be a file (a FIFO
  // would block the read).
  struct stat st {};
  if (stat(named, &st) != 0) return Error::git(prefix + os_error_text(errno));
  if (!S_ISREG(st.st_mode)) return Error::git(prefix + "not a regular file");
  const int rc = git_index_open(&raw, named);
  GitIndex index(raw);
  if (rc != 0) return Error::git(prefix + index_file_problem(named).value_or(git_failure("", rc)));
  return index;
}

}  // namespace

Result<GitIndex> open_staged_index(git_repository* repo) {
  const char* named = std::getenv("GIT_INDEX_FILE");
  if (named != nullptr && *named == '\0') named = nullptr;
  TRY_ASSIGN(GitIndex index, open_index_file(repo, named));
  std::vector<std::string> intent_to_add;
  const size_t count = git_index_entrycount(index.get());
  for (size_t i = 0; i < count; ++i) {
    const git_index_entry* entry = git_index_get_byindex(index.get(), i);
    if ((entry->flags_extended & GIT_INDEX_ENTRY_INTENT_TO_ADD) != 0) intent_to_add.emplace_back(entry->path);
  }
  for (const auto& path : intent_to_add) {
    const int rc = git_index_remove(index.get(), path.c_str(), 0);
    if (rc != 0) return Error::git(git_failure("Failed to read git index: ", rc));
  }
  return index;
}

namespace {

struct DiffWalk {
  std::vector<Change> changes;
  std::unordered_map<std::string, SideEntry>* new_entries = nullptr;  // HEAD mode: where each file is
  std::optional<std::string> unsafe_path;
  bool out_of_memory = false;
};

std::optional<ChangeKind> change_kind(git_delta_t status) {
  switch (status) {
    case GIT_DELTA_ADDED:
    case GIT_DELTA_RENAMED:
    case GIT_DELTA_COPIED:
      return ChangeKind::Added;
    case GIT_DELTA_MODIFIED:
    case GIT_DELTA_TYPECHANGE:
      return ChangeKind::Modified;
    case GIT_DELTA_DELETED:
      return ChangeKind::Deleted;
    default:
      return std::nullopt;
  }
}

const char* delta_path(const git_diff_delta* delta) {
  const auto present = [](const char* p) { return p != nullptr && *p != '\0'; };
  if (present(delta->new_file.path)) return delta->new_file.path;
  if (present(delta->old_file.path)) return delta->old_file.path;
  return nullptr;
}

int diff_file_callback(const git_diff_delta* delta, float /*progress*/, void* payload) {
  auto& walk = *static_cast<DiffWalk*>(payload);
  const auto kind = change_kind(delta->status);
  if (!kind) return 0;
  const char* path = delta_path(delta);
  if (path == nullptr) return 0;
  // No exception may unwind through libgit2's frames.
  try {
    if (!is_safe_repo_path(path)) {
      walk.unsafe_path = path;
      return 1;
    }
    walk.changes.push_back(Change{path, *kind});
    if (walk.new_entries != nullptr && *kind != ChangeKind::Deleted) {
      walk.new_entries->insert_or_assign(path, SideEntry{delta->new_file.id, delta->new_file.mode});
    }
  } catch (...) {
    walk.out_of_memory = true;
    return 1;
  }
  return 0;
}

}  // namespace

Result<ChangeSet> changed_files(git_repository* repo, const std::string& reference, bool staged) {
  git_object* raw_obj = nullptr;
  int rc = git_revparse_single(&raw_obj, repo, reference.c_str());
  GitObject obj(raw_obj);
  if (rc == GIT_ENOTFOUND) return Error::invalid_git_ref(reference);
  if (rc != 0) return Error::git(git_failure("Failed to resolve reference '" + reference + "': ", rc));

  git_object* raw_peeled = nullptr;
  rc = git_object_peel(&raw_peeled, obj.get(), GIT_OBJECT_COMMIT);
  GitObject ref_commit(raw_peeled);
  if (rc != 0) return Error::git(git_failure("Reference '" + reference + "' does not point to a commit: ", rc));

  GitTree base_tree;
  {
    TRY_ASSIGN(GitCommit head, head_commit(repo));
    git_oid base_id;
    rc = git_merge_base(&base_id, repo, git_object_id(ref_commit.get()), git_commit_id(head.get()));
    if (rc != 0) {
      return Error::git(git_failure("Failed to find merge-base for '" + reference + "' and HEAD: ", rc));
    }
    git_commit* raw_base = nullptr;
    rc = git_commit_lookup(&raw_base, repo, &base_id);
    GitCommit base(raw_base);
    if (rc != 0) return Error::git(git_failure("Failed to find merge-base commit: ", rc));
    git_tree* raw_tree = nullptr;
    rc = git_commit_tree(&raw_tree, base.get());
    base_tree.reset(raw_tree);
    if (rc != 0) return Error::git(git_failure("Failed to get tree for merge-base commit: ", rc));
  }
  obj.reset();
  ref_commit.reset();

  git_diff_options opts;
  git_diff_options_init(&opts, GIT_DIFF_OPTIONS_VERSION);
  opts.flags &= ~static_cast<uint32_t>(GIT_DIFF_INCLUDE_UNTRACKED);
  // Without it a file that became a symbolic link (or back) is a deletion
  // and an addition of the same path.
  opts.flags |= GIT_DIFF_INCLUDE_TYPECHANGE;

  ChangeSet set;
  git_diff* raw_diff = nullptr;
  if (staged) {
    TRY_ASSIGN(set.side.index, open_staged_index(repo));
    rc = git_diff_tree_to_index(&raw_diff, repo, base_tree.get(), set.side.index.get(), &opts);
  } else {
    TRY_ASSIGN(set.side.tree, head_tree(repo));
    rc = git_diff_tree_to_tree(&raw_diff, repo, base_tree.get(), set.side.tree.get(), &opts);
  }
  GitDiff diff(raw_diff);
  if (rc != 0) return Error::git(git_failure("Failed to compute diff: ", rc));

  DiffWalk walk;
  if (!staged) walk.new_entries = &set.side.head_entries;
  rc = git_diff_foreach(diff.get(), diff_file_callback, nullptr, nullptr, nullptr, &walk);
  if (walk.unsafe_path) return Error::git(unsafe_path_message(*walk.unsafe_path));
  if (walk.out_of_memory) return Error::git("Failed to iterate diff: out of memory");
  if (rc != 0) return Error::git(git_failure("Failed to iterate diff: ", rc));
  set.changes = std::move(walk.changes);
  return set;
}

bool is_migration_path(std::string_view rel) { return detect_framework(rel).has_value(); }

namespace {

bool is_wanted(const Change& change, ChangedFiles which) {
  const bool migration = is_migration_path(change.path);
  switch (which) {
    case ChangedFiles::Lintable: return migration && change.kind != ChangeKind::Deleted;
    case ChangedFiles::AllMigrations: return migration;
    case ChangedFiles::NonMigrations: return !migration;
  }
  return false;
}

}  // namespace

Result<std::vector<std::string>> select_changed_files(git_repository* repo, const std::vector<Change>& changes,
                                                      ChangedFiles which) {
  TRY_ASSIGN(const std::string workdir, repository_workdir(repo));
  std::vector<std::string> out;
  for (const auto& change : changes) {
    if (is_wanted(change, which)) out.push_back(path_join(workdir, change.path));
  }
  return out;
}

}  // namespace tarn
