// Exclude and allowed-file patterns: "*", "?" and "[...]" also match "/",
// "**" must form a whole path component, matching is case-sensitive and
// covers the whole text.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "error/result.h"

namespace tarn {

class GlobPattern {
 public:
  // InvalidGlob with "Pattern syntax error near position {}: {}" on failure.
  static Result<GlobPattern> compile(std::string_view pattern);
  bool matches(std::string_view text) const;
  const std::string& text() const { return text_; }

  struct Token;  // defined in glob.cc

 private:
  std::string text_;
  std::vector<Token> tokens_;
};

// Compiles in order, failing on the first invalid pattern.
Result<std::vector<GlobPattern>> compile_glob_patterns(const std::vector<std::string>& patterns);

}  // namespace tarn
