// File-system path resolution: the current directory, canonical forms and
// existence checks, reporting the operating system's error number.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace tarn {

// The current directory, or nothing (errno in *err when given).
std::optional<std::string> current_dir(int* err = nullptr);

// The absolute path with every symbolic link, "." and ".." resolved; the path
// must exist. Nothing on failure (errno in *err when given).
std::optional<std::string> canonicalize(std::string_view path, int* err = nullptr);

// True when the path's metadata can be read, following symbolic links.
bool exists_following_links(std::string_view path);

// "{description} (os error {number})".
std::string os_error_text(int err);

}  // namespace tarn
