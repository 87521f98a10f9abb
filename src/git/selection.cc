#include "git/selection.h"

#include <algorithm>

#include "files/exclude.h"
#include "git/selectors.h"
#include "util/canonical.h"
#include "util/path.h"

namespace tarn {

Result<DiffContext> open_diff_context(const std::string& reference, bool staged) {
  DiffContext context;
  TRY_ASSIGN(context.repo, open_repository());
  TRY_ASSIGN(context.workdir, repository_workdir(context.repo.get()));
  TRY_ASSIGN(ChangeSet set, changed_files(context.repo.get(), reference, staged));
  context.changes = std::move(set.changes);
  context.side = std::move(set.side);
  context.staged = staged;
  return context;
}

Result<std::vector<std::string>> restrict_to_cli_paths(const std::vector<std::string>& list,
                                                       const std::vector<std::string>& cli_paths,
                                                       const std::string& base) {
  const auto cwd = current_dir();
  if (!cwd) return Error::read_file(".");
  const auto canonical_cwd = canonicalize(*cwd);
  if (!canonical_cwd) return Error::read_file(*cwd);
  const auto canonical_base = canonicalize(base);
  if (!canonical_base) return Error::read_file(base);

  if (cli_paths.size() == 1 && paths_equal(cli_paths[0], ".") && paths_equal(*canonical_cwd, *canonical_base)) {
    return list;
  }

  std::vector<std::string> normalized;
  normalized.reserve(list.size());
  for (const auto& entry : list) normalized.push_back(normalize_path(entry, base, *canonical_base));

  const SelectorInputs inputs{*canonical_cwd, base, *canonical_base, normalized};
  TRY_ASSIGN(const std::vector<std::string> selectors, cli_path_selectors(cli_paths, inputs));

  std::vector<std::string> out;
  for (size_t i = 0; i < list.size(); ++i) {
    const bool selected = std::any_of(selectors.begin(), selectors.end(),
                                      [&](const std::string& s) { return path_within(normalized[i], s); });
    if (selected) out.push_back(list[i]);
  }
  return out;
}

namespace {

// Drops the entries an exclude pattern matches, relative to the work tree too.
Result<std::vector<std::string>> drop_excluded(std::vector<std::string> list, const std::vector<std::string>& exclude,
                                               const std::string& workdir) {
  TRY_ASSIGN(const ExcludeFilter excluded, ExcludeFilter::make(exclude, workdir));
  std::erase_if(list, [&](const std::string& entry) { return excluded.excludes(entry); });
  return list;
}

}  // namespace

Result<std::vector<std::string>> select_git_files(const DiffContext& context, const std::vector<std::string>& cli_paths,
                                                  const Config& config) {
  TRY_ASSIGN(std::vector<std::string> files,
             select_changed_files(context.repo.get(), context.changes, ChangedFiles::Lintable));
  TRY_ASSIGN(files, restrict_to_cli_paths(files, cli_paths, context.workdir));
  if (config.exclude.empty()) return files;
  return drop_excluded(std::move(files), config.exclude, context.workdir);
}

Result<std::vector<std::string>> collect_changed_migrations(const DiffContext& context,
                                                            const std::vector<std::string>& cli_paths,
                                                            const std::vector<std::string>& exclude) {
  TRY_ASSIGN(std::vector<std::string> list,
             select_changed_files(context.repo.get(), context.changes, ChangedFiles::AllMigrations));
  TRY_ASSIGN(list, restrict_to_cli_paths(list, cli_paths, context.workdir));
  if (list.empty()) return list;
  return drop_excluded(std::move(list), exclude, context.workdir);
}

Result<std::vector<std::string>> collect_changed_non_migrations(const DiffContext& context,
                                                                const std::vector<std::string>& cli_paths,
                                                                const std::vector<std::string>& exclude) {
  TRY_ASSIGN(std::vector<std::string> list,
             select_changed_files(context.repo.get(), context.changes, ChangedFiles::NonMigrations));
  if (list.empty()) return list;
  TRY_ASSIGN(list, restrict_to_cli_paths(list, cli_paths, context.workdir));
  const std::string& workdir = context.workdir;
  const auto canonical_workdir = canonicalize(workdir);
  if (!canonical_workdir) return Error::read_file(workdir);
  TRY_ASSIGN(list, drop_excluded(std::move(list), exclude, workdir));
  for (auto& entry : list) {
    if (auto rest = path_strip_prefix(entry, workdir)) {
      entry = std::move(*rest);
    } else if (auto canonical_rest =
                   path_strip_prefix(normalize_path(entry, workdir, *canonical_workdir), *canonical_workdir)) {
      entry = std::move(*canonical_rest);
    }
  }
  return list;
}

}  // namespace tarn
