#include "git/repository.h"

#include <optional>

#include "ast/framework.h"
#include "util/path.h"

namespace tarn {

namespace {

// Older libgit2 releases (the 1.5 series among them) say "from" where the
// releases this program follows say "at"; the report reads the same on both.
std::string discover_failure(int code) {
  std::string text = git_error_text(code);
  constexpr std::string_view kOld = "could not find repository from '";
  if (text.starts_with(kOld)) text.replace(0, kOld.size(), "could not find repository at '");
  return "Failed to find git repository: " + text;
}

}  // namespace

Result<GitRepo> open_repository() {
  ensure_libgit2();
  git_buf dir = GIT_BUF_INIT;
  int rc = git_repository_discover(&dir, ".", /*across_fs=*/1, /*ceiling_dirs=*/nullptr);
  if (rc != 0) {
    git_buf_dispose(&dir);
    return Error::git(discover_failure(rc));
  }
  git_repository* raw = nullptr;
  rc = git_repository_open(&raw, dir.ptr);
  git_buf_dispose(&dir);
  GitRepo repo(raw);
  if (rc != 0) return Error::git(git_failure("Failed to find git repository: ", rc));
  return repo;
}

Result<std::string> repository_workdir(git_repository* repo) {
  const char* workdir = git_repository_workdir(repo);
  if (workdir == nullptr) return Error::git(kBareRepoMessage);
  return std::string(workdir);
}

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

Result<GitTree> head_tree(git_repository* repo) {
  TRY_ASSIGN(GitCommit commit, head_commit(repo));
  git_tree* raw = nullptr;
  const int rc = git_commit_tree(&raw, commit.get());
  GitTree tree(raw);
  if (rc != 0) return Error::git(git_failure("Failed to get tree for HEAD: ", rc));
  return tree;
}

namespace {

struct DiffWalk {
  std::vector<Change> changes;
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
  } catch (...) {
    walk.out_of_memory = true;
    return 1;
  }
  return 0;
}

}  // namespace

Result<std::vector<Change>> changed_files(git_repository* repo, const std::string& reference, bool staged) {
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

  git_diff* raw_diff = nullptr;
  if (staged) {
    TRY_ASSIGN(const GitIndex index, open_index(repo));
    rc = git_diff_tree_to_index(&raw_diff, repo, base_tree.get(), index.get(), &opts);
  } else {
    TRY_ASSIGN(GitTree new_tree, head_tree(repo));
    rc = git_diff_tree_to_tree(&raw_diff, repo, base_tree.get(), new_tree.get(), &opts);
  }
  GitDiff diff(raw_diff);
  if (rc != 0) return Error::git(git_failure("Failed to compute diff: ", rc));

  DiffWalk walk;
  rc = git_diff_foreach(diff.get(), diff_file_callback, nullptr, nullptr, nullptr, &walk);
  if (walk.unsafe_path) return Error::git(unsafe_path_message(*walk.unsafe_path));
  if (walk.out_of_memory) return Error::git("Failed to iterate diff: out of memory");
  if (rc != 0) return Error::git(git_failure("Failed to iterate diff: ", rc));
  return std::move(walk.changes);
}

bool is_migration_path(std::string_view rel) { return detect_framework(rel).has_value(); }

Result<std::vector<std::string>> select_changed_files(git_repository* repo, const std::vector<Change>& changes,
                                                      bool want_non_migration) {
  TRY_ASSIGN(const std::string workdir, repository_workdir(repo));
  std::vector<std::string> out;
  for (const auto& change : changes) {
    const bool migration = is_migration_path(change.path);
    const bool keep = want_non_migration ? !migration : migration && change.kind != ChangeKind::Deleted;
    if (keep) out.push_back(path_join(workdir, change.path));
  }
  return out;
}

}  // namespace tarn
