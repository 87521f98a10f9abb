// Whether a path is excluded by the configured patterns.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "error/result.h"
#include "util/glob.h"

namespace tarn {

// The exclude patterns of a run and the directory they are written relative
// to. A path is tried as written, without a leading "./", and relative to
// that directory in the form given and in its canonical form.
class ExcludeFilter {
 public:
  // InvalidGlob for the first pattern that does not compile.
  static Result<ExcludeFilter> make(const std::vector<std::string>& patterns, const std::string& base);

  bool excludes(std::string_view path) const;

 private:
  std::vector<GlobPattern> patterns_;
  std::vector<std::string> roots_;
};

}  // namespace tarn
