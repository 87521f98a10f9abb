#include "git/libgit.h"

#include <array>
#include <mutex>

#include "util/path.h"

namespace tarn {

void ensure_libgit2() {
  static std::once_flag once;
  std::call_once(once, [] { git_libgit2_init(); });
}

namespace {

// Indexed by git_error_t, 1 to 34.
constexpr std::array<const char*, 35> kClassNames = {
    nullptr,     "NoMemory",  "Os",         "Invalid",   "Reference", "Zlib",     "Repository",
    "Config",    "Regex",     "Odb",        "Index",     "Object",    "Net",      "Tag",
    "Tree",      "Indexer",   "Ssl",        "Submodule", "Thread",    "Stash",    "Checkout",
    "FetchHead", "Merge",     "Ssh",        "Filter",    "Revert",    "Callback", "CherryPick",
    "Describe",  "Rebase",    "Filesystem", "Patch",     "Worktree",  "Sha",      "Http",
};

// Indexed by the negated error code; 0, the generic -1 and unused numbers
// have no name.
constexpr std::array<const char*, 38> kCodeNames = {
    nullptr,         nullptr,       nullptr,       "NotFound",     "Exists",     "Ambiguous",
    "Bufs",          "User",        "BareRepo",    "UnbornBranch", "Unmerged",   "NonFastForward",
    "InvalidSpec",   "Conflict",    "Locked",      "Modified",     "Auth",       "Certificate",
    "Applied",       "Peel",        "Eof",         "Invalid",      "Uncommitted", "Directory",
    "MergeConflict", nullptr,       nullptr,       nullptr,        nullptr,      nullptr,
    "Passthrough",   "IterOver",    "Retry",       "Mismatch",     "IndexDirty", "ApplyFail",
    "Owner",         "Timeout",
};

}  // namespace

std::string git_error_text(int code) {
  ensure_libgit2();
  const git_error* last = git_error_last();
  std::string out = last != nullptr && last->message != nullptr ? last->message : "no error";
  const int klass = last != nullptr ? last->klass : 0;
  if (klass > 0 && klass < static_cast<int>(kClassNames.size())) {
    out += "; class=";
    out += kClassNames[static_cast<size_t>(klass)];
    out += " (" + std::to_string(klass) + ")";
  }
  if (code < 0 && -code < static_cast<int>(kCodeNames.size()) && kCodeNames[static_cast<size_t>(-code)] != nullptr) {
    out += "; code=";
    out += kCodeNames[static_cast<size_t>(-code)];
    out += " (" + std::to_string(code) + ")";
  }
  return out;
}

std::string git_failure(std::string_view prefix, int code) {
  std::string out(prefix);
  out += git_error_text(code);
  return out;
}

bool is_safe_repo_path(std::string_view path) {
  const auto comps = path_components(path);
  if (comps.empty()) return false;
  if (comps.front().kind == ComponentKind::Root || comps.front().kind == ComponentKind::CurDir) return false;
  for (const auto& c : comps) {
    if (c.kind == ComponentKind::ParentDir) return false;
  }
  return true;
}

std::string unsafe_path_message(std::string_view path) {
  std::string out = "Git diff returned unsafe repository path '";
  out += path;
  out += "'";
  return out;
}

}  // namespace tarn
