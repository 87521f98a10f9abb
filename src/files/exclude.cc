#include "files/exclude.h"

#include <algorithm>

#include "util/canonical.h"
#include "util/path.h"
#include "util/utf8.h"

namespace tarn {

namespace {

// The components from `from` on, joined with "/"; the root is written "/" and
// not followed by a second separator.
std::string join_slash(const std::vector<Component>& comps, size_t from) {
  std::string out;
  for (size_t k = from; k < comps.size(); ++k) {
    if (k > from && comps[k - 1].kind != ComponentKind::Root) out += '/';
    out += comps[k].kind == ComponentKind::Normal ? utf8_lossy(comps[k].text) : std::string(comps[k].text);
  }
  return out;
}

}  // namespace

Result<ExcludeFilter> ExcludeFilter::make(const std::vector<std::string>& patterns, const std::string& base) {
  ExcludeFilter filter;
  TRY_ASSIGN(filter.patterns_, compile_glob_patterns(patterns));
  if (filter.patterns_.empty()) return filter;
  filter.roots_.push_back(base);
  auto canonical = canonicalize(base);
  if (canonical && *canonical != base) filter.roots_.push_back(std::move(*canonical));
  return filter;
}

bool ExcludeFilter::excludes(std::string_view path) const {
  if (patterns_.empty()) return false;
  const std::vector<Component> comps = path_components(path);
  std::vector<std::string> candidates{join_slash(comps, 0)};
  if (!comps.empty() && comps.front().kind == ComponentKind::CurDir) candidates.push_back(join_slash(comps, 1));
  for (const auto& root : roots_) {
    const std::vector<Component> rc = path_components(root);
    if (rc.size() <= comps.size() && std::equal(rc.begin(), rc.end(), comps.begin())) {
      candidates.push_back(join_slash(comps, rc.size()));
    }
  }
  return std::any_of(patterns_.begin(), patterns_.end(), [&](const GlobPattern& p) {
    return std::any_of(candidates.begin(), candidates.end(), [&](const std::string& c) { return p.matches(c); });
  });
}

}  // namespace tarn
