// Git-mode file lists: the changed migrations to analyse, every changed
// migration and every other changed file, each restricted to the
// command-line paths and filtered by the exclude patterns, in diff order.
#pragma once

#include <string>
#include <vector>

#include "config/config.h"
#include "error/result.h"
#include "git/libgit.h"
#include "git/repository.h"

namespace tarn {

struct DiffContext {
  std::string workdir;  // as the repository reports it, with its trailing "/"
  std::vector<Change> changes;
  GitRepo repo;
  bool staged = false;
  ChangeSide side;  // released before repo
};

// open_repository, repository_workdir and changed_files in one step.
Result<DiffContext> open_diff_context(const std::string& reference, bool staged);

// The entries of `list` (absolute paths under the work tree `base`) that lie
// within one of the command-line paths, in list order and form.
Result<std::vector<std::string>> restrict_to_cli_paths(const std::vector<std::string>& list,
                                                       const std::vector<std::string>& cli_paths,
                                                       const std::string& base);

// The changed, not deleted migration files to analyse (absolute).
Result<std::vector<std::string>> select_git_files(const DiffContext& context, const std::vector<std::string>& cli_paths,
                                                  const Config& config);

// Every changed migration file, deleted ones included (absolute).
Result<std::vector<std::string>> collect_changed_migrations(const DiffContext& context,
                                                            const std::vector<std::string>& cli_paths,
                                                            const std::vector<std::string>& exclude);

// Every other changed file, deleted ones included, relative to the work tree
// where it can be made so.
Result<std::vector<std::string>> collect_changed_non_migrations(const DiffContext& context,
                                                                const std::vector<std::string>& cli_paths,
                                                                const std::vector<std::string>& exclude);

}  // namespace tarn
