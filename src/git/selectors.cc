#include "git/selectors.h"

#include <algorithm>

#include "util/canonical.h"
#include "util/path.h"

namespace tarn {

bool path_within(std::string_view path, std::string_view selector) {
  return paths_equal(selector, ".") || path_starts_with(path, selector);
}

std::string normalize_path(const std::string& path, const std::string& base, const std::string& canonical_base) {
  if (auto resolved = canonicalize(path)) return *resolved;
  if (!path_is_absolute(path)) return path_join(canonical_base, path);
  for (const std::string* prefix : {&base, &canonical_base}) {
    if (auto rest = path_strip_prefix(path, *prefix)) return rest->empty() ? canonical_base : path_join(canonical_base, *rest);
  }
  return path;
}

namespace {

// The selector of one command-line path `p`: ReadFile when an existing path
// cannot be canonicalised, InvalidPath (naming `p` as typed) when it lies
// outside the work tree, or is missing and covers no entry.
Result<std::string> path_selector(std::string_view p, const SelectorInputs& in) {
  const std::string full = path_is_absolute(p) ? std::string(p) : path_join(in.join_base, p);
  const bool exists = exists_following_links(full);
  std::string selector;
  if (exists) {
    auto canonical = canonicalize(full);
    if (!canonical) return Error::read_file(full);
    selector = std::move(*canonical);
  } else {
    selector = normalize_path(full, in.base, in.canonical_base);
  }
  if (!path_within(selector, in.canonical_base)) return Error::invalid_path(std::string(p));
  // A path gone from disk is accepted only when it still names changed files.
  if (!exists && std::none_of(in.entries.begin(), in.entries.end(),
                              [&](const std::string& e) { return path_within(e, selector); })) {
    return Error::invalid_path(std::string(p));
  }
  return selector;
}

}  // namespace

Result<std::vector<std::string>> cli_path_selectors(const std::vector<std::string>& cli_paths,
                                                    const SelectorInputs& in) {
  std::vector<std::string> out;
  out.reserve(cli_paths.size());
  for (const auto& p : cli_paths) {
    TRY_ASSIGN(std::string selector, path_selector(p, in));
    out.push_back(std::move(selector));
  }
  return out;
}

}  // namespace tarn
