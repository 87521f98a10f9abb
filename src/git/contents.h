// The committed (HEAD) or staged (index) contents of one file; the working
// tree copy is never read. The tree or index is the one the change set was
// computed against, held by the caller for the whole run.
#pragma once

#include <string>
#include <string_view>

#include "error/result.h"
#include "git/libgit.h"
#include "git/repository.h"

namespace tarn {

// The file's text from HEAD's tree: a changed file by the id the change set
// holds, any other by its path in the tree.
Result<std::string> read_head_file(git_repository* repo, const ChangeSide& head, std::string_view path);

// The file's text from the index (stage 0).
Result<std::string> read_staged_file(git_repository* repo, git_index* index, std::string_view path);

// The repository path of `path`: a relative path is taken as relative to the
// work tree, an absolute one must lie inside it (directly or canonically).
Result<std::string> repo_relative_path(git_repository* repo, std::string_view path);

// The blob's bytes as UTF-8 text, its size checked from the object header
// before it is loaded. `label` names the source ("HEAD" or "staged").
Result<std::string> read_blob_text(git_repository* repo, const git_oid& id, std::string_view path, std::string_view rel,
                                   std::string_view label);

}  // namespace tarn
