// libgit2 set-up shared by the git-mode modules: one-time initialisation,
// owning handles for every libgit2 object, the text of a library error and the
// safety test for repository paths.
#pragma once

#include <git2.h>

#include <memory>
#include <string>
#include <string_view>

#include "error/result.h"

namespace tarn {

// Initialises libgit2 once per process; it is never shut down.
void ensure_libgit2();

template <typename T, void (*Free)(T*)>
struct GitFree {
  void operator()(T* p) const { Free(p); }
};
template <typename T, void (*Free)(T*)>
using GitPtr = std::unique_ptr<T, GitFree<T, Free>>;

using GitRepo = GitPtr<git_repository, git_repository_free>;
using GitReference = GitPtr<git_reference, git_reference_free>;
using GitObject = GitPtr<git_object, git_object_free>;
using GitCommit = GitPtr<git_commit, git_commit_free>;
using GitTree = GitPtr<git_tree, git_tree_free>;
using GitTreeEntry = GitPtr<git_tree_entry, git_tree_entry_free>;
using GitIndex = GitPtr<git_index, git_index_free>;
using GitDiff = GitPtr<git_diff, git_diff_free>;
using GitOdb = GitPtr<git_odb, git_odb_free>;
using GitBlob = GitPtr<git_blob, git_blob_free>;

// The last libgit2 error after a call returned `code`: its message, then
// "; class=Name (n)" and "; code=Name (n)" where they say something.
std::string git_error_text(int code);

// "prefix" followed by the library error text.
std::string git_failure(std::string_view prefix, int code);

// A repository path is safe when it is not empty, is relative, does not start
// with a "." component and has no ".." component.
bool is_safe_repo_path(std::string_view path);

// "Git diff returned unsafe repository path '{}'".
std::string unsafe_path_message(std::string_view path);

inline constexpr const char* kBareRepoMessage = "Repository has no working directory (bare repo)";

}  // namespace tarn
