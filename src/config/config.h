// The effective configuration of a run and the loading of one directory's
// configuration files.
#pragma once

#include <optional>
#include <set>
#include <string>
#include <vector>

namespace tarn {

struct Config {
  std::set<std::string> select;  // empty: every rule
  std::set<std::string> ignore;
  bool warnings_as_errors = false;
  std::vector<std::string> exclude;                // glob patterns, order and duplicates kept
  std::vector<std::string> allowed_file_patterns;  // glob patterns
};

}  // namespace tarn
