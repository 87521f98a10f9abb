// Git-mode command-line paths: each path becomes a selector, an absolute
// path inside the work tree against which changed files are matched, and the
// path helpers that matching uses.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "error/result.h"

namespace tarn {

// True when `selector` is ".", or its components are a prefix of `path`'s.
bool path_within(std::string_view path, std::string_view selector);

// The canonical form of `path` when it exists; otherwise `path` re-rooted
// lexically on `canonical_base` (relative, or under `base` or
// `canonical_base`), or unchanged.
std::string normalize_path(const std::string& path, const std::string& base, const std::string& canonical_base);

struct SelectorInputs {
  const std::string& join_base;       // canonical current directory, for relative paths
  const std::string& base;            // work tree as the repository reports it
  const std::string& canonical_base;  // its canonical form
  const std::vector<std::string>& entries;  // changed files, already normalized
};

// The selectors of every path in order: ReadFile when an existing path cannot
// be canonicalised, InvalidPath (naming the path as typed) when one lies
// outside the work tree, or is missing and covers no entry. The first error
// ends the iteration.
Result<std::vector<std::string>> cli_path_selectors(const std::vector<std::string>& cli_paths, const SelectorInputs& in);

}  // namespace tarn
