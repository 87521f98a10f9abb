// Whether a path is excluded by the configured patterns.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "files/glob.h"

namespace tarn {

// Components joined with "/" (an absolute path keeps a single leading "/").
std::string path_to_slash(std::string_view path);

// Tries the path as written, without a leading "./", and relative to each root.
bool is_excluded(std::string_view path, const std::vector<std::string>& roots,
                 const std::vector<GlobPattern>& patterns);

}  // namespace tarn
