#include "util/glob.h"

#include <algorithm>
#include <cstddef>

#include "util/utf8.h"

namespace tarn {

namespace {

using Kind = GlobPattern::Token::Kind;

constexpr const char* kWildcardRun = "wildcards are either regular `*` or recursive `**`";
constexpr const char* kRecursiveComponent = "recursive wildcards must form a single path component";
constexpr const char* kInvalidRange = "invalid range pattern";

Error syntax_error(std::string_view pattern, size_t position, const char* what) {
  return Error::invalid_glob(std::string(pattern),
                             "Pattern syntax error near position " + std::to_string(position) + ": " + what);
}

// Members of a bracket class: "a-z" is a range, anything else a single char.
// Kept sorted and merged, so a class of any size is one binary search per
// character; an inverted range such as z-a holds nothing and is dropped.
std::vector<std::pair<char32_t, char32_t>> class_members(std::u32string_view s) {
  std::vector<std::pair<char32_t, char32_t>> members;
  size_t i = 0;
  while (i < s.size()) {
    if (i + 3 <= s.size() && s[i + 1] == U'-') {
      if (s[i] <= s[i + 2]) members.emplace_back(s[i], s[i + 2]);
      i += 3;
    } else {
      members.emplace_back(s[i], s[i]);
      i += 1;
    }
  }
  std::sort(members.begin(), members.end());
  std::vector<std::pair<char32_t, char32_t>> out;
  for (const auto& m : members) {
    if (!out.empty() && m.first <= out.back().second + 1) {
      out.back().second = std::max(out.back().second, m.second);
    } else {
      out.push_back(m);
    }
  }
  return out;
}

bool token_accepts(const GlobPattern::Token& t, char32_t c, uint64_t& work) {
  switch (t.kind) {
    case Kind::Char:
      return c == t.ch;
    case Kind::AnyChar:
      return true;
    case Kind::AnyWithin:
    case Kind::AnyExcept: {
      // First range ending at or after c.
      size_t lo = 0, hi = t.ranges.size();
      while (lo < hi) {
        ++work;
        const size_t mid = lo + (hi - lo) / 2;
        if (t.ranges[mid].second < c) {
          lo = mid + 1;
        } else {
          hi = mid;
        }
      }
      const bool in = lo < t.ranges.size() && t.ranges[lo].first <= c;
      return t.kind == Kind::AnyWithin ? in : !in;
    }
    case Kind::AnySequence:
    case Kind::AnyRecursive:
      break;
  }
  return false;
}

// Adds a state to a sorted list of distinct states. States are produced in
// nearly ascending order (each lands within a few places of the one that
// produced it), so the scan back from the end is short.
void insert_state(std::vector<size_t>& list, size_t state, uint64_t& work) {
  size_t i = list.size();
  while (i > 0 && list[i - 1] > state) {
    --i;
    ++work;
  }
  if (i > 0 && list[i - 1] == state) return;
  list.insert(list.begin() + static_cast<std::ptrdiff_t>(i), state);
}

bool is_wildcard(Kind k) { return k == Kind::AnySequence || k == Kind::AnyRecursive; }

}  // namespace

Result<GlobPattern> GlobPattern::compile(std::string_view pattern) {
  const std::u32string chars = utf8_code_points(pattern);
  GlobPattern out;
  out.text_ = std::string(pattern);
  const size_t n = chars.size();
  size_t i = 0;
  while (i < n) {
    const char32_t c = chars[i];
    if (c == U'?') {
      out.tokens_.push_back({Kind::AnyChar, 0, {}});
      ++i;
    } else if (c == U'*') {
      const size_t start = i;
      while (i < n && chars[i] == U'*') ++i;
      const size_t count = i - start;
      if (count > 2) return syntax_error(pattern, start + 2, kWildcardRun);
      if (count == 1) {
        out.tokens_.push_back({Kind::AnySequence, 0, {}});
        continue;
      }
      if (start != 0 && chars[start - 1] != U'/') return syntax_error(pattern, start - 1, kRecursiveComponent);
      if (i < n && chars[i] != U'/') return syntax_error(pattern, i, kRecursiveComponent);
      if (i < n) ++i;  // the "/" belongs to the recursive wildcard
      // "**/**/" matches exactly what "**/" does; one token keeps the state
      // count, and the cost of every match, independent of the repeats.
      if (out.tokens_.empty() || out.tokens_.back().kind != Kind::AnyRecursive) {
        out.tokens_.push_back({Kind::AnyRecursive, 0, {}});
      }
    } else if (c == U'[') {
      // The closing bracket is searched from after the first member, so a
      // "]" right after "[" or "[!" is a member.
      const bool negated = i + 1 < n && chars[i + 1] == U'!';
      const size_t first = i + (negated ? 2 : 1);
      if (first + 2 > n) return syntax_error(pattern, i, kInvalidRange);
      const size_t close = std::u32string_view(chars).find(U']', first + 1);
      if (close == std::u32string_view::npos) return syntax_error(pattern, i, kInvalidRange);
      out.tokens_.push_back({negated ? Kind::AnyExcept : Kind::AnyWithin, 0,
                             class_members(std::u32string_view(chars).substr(first, close - first))});
      i = close + 1;
    } else {
      out.tokens_.push_back({Kind::Char, c, {}});
      ++i;
    }
  }
  out.wildcard_tail_ = out.tokens_.size();
  while (out.wildcard_tail_ > 0 && is_wildcard(out.tokens_[out.wildcard_tail_ - 1].kind)) --out.wildcard_tail_;
  return out;
}

// Simulates the token automaton over the whole set of live states, one code
// point at a time: O(tokens x text), never exponential, and nothing sized by
// the pattern is allocated per call, so a huge pattern tried against many
// paths costs no more than its live states. State 2k waits before token k;
// for "**" at k, state 2k+1 is "inside it, not right after a '/'", from where
// it may only be left at a "/" (or by running to the end).
bool GlobPattern::matches(std::string_view text, uint64_t* work) const {
  uint64_t steps = 0;
  const size_t n = tokens_.size();
  const size_t accept = 2 * n;

  // A wildcard may match nothing, so entering it also enters what follows;
  // repeated "**" are one token, so a run of wildcards is at most "**/*".
  auto add = [&](std::vector<size_t>& list, size_t state) {
    for (;;) {
      ++steps;
      insert_state(list, state, steps);
      const size_t k = state / 2;
      if (state % 2 != 0 || k >= n || !is_wildcard(tokens_[k].kind)) return;
      state = 2 * (k + 1);
    }
  };

  std::vector<size_t> current, next;
  add(current, 0);
  // Code points are decoded as they are read: the text is never copied.
  for (size_t pos = 0; pos < text.size();) {
    const char32_t c = next_code_point(text, pos);
    next.clear();
    for (const size_t state : current) {
      ++steps;
      const size_t k = state / 2;
      if (state == accept) continue;
      const Token& t = tokens_[k];
      if (t.kind == Kind::AnyRecursive) {
        add(next, c == U'/' ? 2 * k : 2 * k + 1);
      } else if (t.kind == Kind::AnySequence) {
        add(next, 2 * k);
      } else if (token_accepts(t, c, steps)) {
        add(next, 2 * (k + 1));
      }
    }
    std::swap(current, next);
    if (current.empty()) break;
  }
  if (work) *work += steps;
  return std::any_of(current.begin(), current.end(), [&](size_t state) {
    return state == accept || (state % 2 != 0 && state / 2 + 1 >= wildcard_tail_);
  });
}

Result<std::vector<GlobPattern>> compile_glob_patterns(const std::vector<std::string>& patterns) {
  std::vector<GlobPattern> out;
  out.reserve(patterns.size());
  for (const auto& p : patterns) {
    TRY_ASSIGN(GlobPattern compiled, GlobPattern::compile(p));
    out.push_back(std::move(compiled));
  }
  return out;
}

}  // namespace tarn
