// Exclude and allowed-file patterns: "*", "?" and "[...]" also match "/",
// "**" must form a whole path component, matching is case-sensitive and
// covers the whole text.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "error/result.h"

namespace tarn {

class GlobPattern {
 public:
  struct Token {
    enum class Kind : uint8_t {
      Char,          // one given code point
      AnyChar,       // "?"
      AnySequence,   // "*"
      AnyRecursive,  // "**" with the "/" after it
      AnyWithin,     // "[...]"
      AnyExcept,     // "[!...]"
    };
    Kind kind = Kind::Char;
    char32_t ch = 0;
    // Class members as sorted, disjoint ranges (a single char is a-a).
    std::vector<std::pair<char32_t, char32_t>> ranges;
  };

  // InvalidGlob with "Pattern syntax error near position {}: {}" on failure.
  static Result<GlobPattern> compile(std::string_view pattern);
  // `work`, when given, grows by the steps taken (states visited, class
  // lookups, list moves), so tests can check the cost without a clock.
  bool matches(std::string_view text, uint64_t* work = nullptr) const;
  const std::string& text() const { return text_; }

 private:
  std::string text_;
  std::vector<Token> tokens_;
  size_t wildcard_tail_ = 0;  // tokens from here to the end are all wildcards
};

// Compiles in order, failing on the first invalid pattern.
Result<std::vector<GlobPattern>> compile_glob_patterns(const std::vector<std::string>& patterns);

}  // namespace tarn
