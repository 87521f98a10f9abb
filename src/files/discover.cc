#include "files/discover.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <memory>

#include "files/exclude.h"
#include "util/canonical.h"
#include "util/migration_layout.h"
#include "util/path.h"

namespace tarn {

namespace {

struct DirCloser {
  void operator()(DIR* d) const { ::closedir(d); }
};
using DirHandle = std::unique_ptr<DIR, DirCloser>;

struct DirEntry {
  std::string name;
  EntryType type;
};

// One directory being listed: through its open handle, or from the entries
// read ahead when its handle was given up to stay within the handle limit.
struct Level {
  std::string path;
  DirHandle handle;
  std::vector<DirEntry> buffered;
  size_t next_buffered = 0;
};

std::string io_text(const std::string& path, int err) {
  return "IO error for operation on " + path + ": " + std::strerror(err);
}

EntryType type_of_mode(mode_t mode) {
  if (S_ISREG(mode)) return EntryType::File;
  if (S_ISDIR(mode)) return EntryType::Directory;
  if (S_ISLNK(mode)) return EntryType::Link;
  return EntryType::Other;
}

// Next entry other than "." and ".."; nothing at the end, or `error` set.
std::optional<DirEntry> read_entry(Level& level, std::string& error) {
  if (!level.handle) {
    if (level.next_buffered == level.buffered.size()) return std::nullopt;
    return std::move(level.buffered[level.next_buffered++]);
  }
  for (;;) {
    errno = 0;
    const dirent* d = ::readdir(level.handle.get());
    if (d == nullptr) {
      if (errno != 0) error = io_text(level.path, errno);
      return std::nullopt;
    }
    const std::string_view name = d->d_name;
    if (name == "." || name == "..") continue;
    DirEntry entry{std::string(name), EntryType::Other};
    switch (d->d_type) {
      case DT_REG: entry.type = EntryType::File; break;
      case DT_DIR: entry.type = EntryType::Directory; break;
      case DT_LNK: entry.type = EntryType::Link; break;
      case DT_UNKNOWN: {
        struct stat st {};
        if (::fstatat(::dirfd(level.handle.get()), d->d_name, &st, AT_SYMLINK_NOFOLLOW) != 0) {
          error = io_text(path_join(level.path, name), errno);
          return std::nullopt;
        }
        entry.type = type_of_mode(st.st_mode);
        break;
      }
      default: break;
    }
    return entry;
  }
}

std::optional<std::string> open_level(const std::string& path, Level& level) {
  // O_NOFOLLOW: a directory swapped for a link since it was listed is refused.
  const int fd = ::open(path.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
  if (fd < 0) return io_text(path, errno);
  DIR* d = ::fdopendir(fd);
  if (d == nullptr) {
    const int err = errno;
    ::close(fd);
    return io_text(path, err);
  }
  level.path = path;
  level.handle.reset(d);
  return std::nullopt;
}

// Reads the rest of the oldest open level ahead and closes its handle.
std::optional<std::string> release_oldest_handle(std::vector<Level>& stack) {
  for (Level& level : stack) {
    if (!level.handle) continue;
    std::string error;
    while (auto entry = read_entry(level, error)) level.buffered.push_back(std::move(*entry));
    if (!error.empty()) return error;
    level.handle.reset();
    return std::nullopt;
  }
  return std::nullopt;
}

}  // namespace

std::optional<std::string> walk_tree(const std::string& dir,
                                     const std::function<void(const std::string&, EntryType)>& visit) {
  std::vector<Level> stack(1);
  if (auto error = open_level(dir, stack.back())) return error;
  size_t open_handles = 1;
  while (!stack.empty()) {
    std::string error;
    std::optional<DirEntry> entry = read_entry(stack.back(), error);
    if (!error.empty()) return error;
    if (!entry) {
      if (stack.back().handle) --open_handles;
      stack.pop_back();
      continue;
    }
    std::string path = path_join(stack.back().path, entry->name);
    visit(path, entry->type);
    if (entry->type != EntryType::Directory) continue;
    if (open_handles == kMaxOpenDirectories) {
      if (auto e = release_oldest_handle(stack)) return e;
      --open_handles;
    }
    Level child;
    if (auto e = open_level(path, child)) return e;
    stack.push_back(std::move(child));
    ++open_handles;
  }
  return std::nullopt;
}

Result<std::vector<std::string>> select_path_files(const std::vector<std::string>& paths,
                                                   const std::vector<std::string>& exclude) {
  const auto cwd = current_dir();
  if (!cwd) return Error::read_file(".");
  TRY_ASSIGN(const ExcludeFilter excluded, ExcludeFilter::make(exclude, *cwd));

  std::vector<std::string> files;
  for (const auto& p : paths) {
    struct stat followed {}, own {};
    if (::stat(p.c_str(), &followed) != 0 || ::lstat(p.c_str(), &own) != 0) return Error::invalid_path(p);
    if (S_ISDIR(own.st_mode)) {
      auto error = walk_tree(p, [&](const std::string& path, EntryType type) {
        // Layout first, patterns last: the cheap tests rule out most files.
        if (type == EntryType::File && detect_framework(path) && !excluded.excludes(path)) {
          files.push_back(path);
        }
      });
      if (error) return Error::walk_dir(p);
    } else if (S_ISREG(own.st_mode)) {
      // A file named on the command line need not fit a layout.
      if (!has_py_extension(p) || excluded.excludes(p)) continue;
      if (auto canonical_p = canonicalize(p); canonical_p && excluded.excludes(*canonical_p)) continue;
      files.push_back(p);
    } else {
      return Error::invalid_path(p);
    }
  }
  std::stable_sort(files.begin(), files.end(),
                   [](const std::string& a, const std::string& b) { return path_less(a, b); });
  const auto duplicates = std::unique(files.begin(), files.end(),
                                      [](const std::string& a, const std::string& b) { return paths_equal(a, b); });
  files.erase(duplicates, files.end());
  return files;
}

}  // namespace tarn
