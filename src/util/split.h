// Cutting a text into the pieces between separators.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

namespace tarn {

enum class Pieces : uint8_t {
  // Every piece as it is: n separators give n + 1 pieces, empty ones included.
  All,
  // Unicode White_Space stripped from both ends of each piece (the text must
  // be valid UTF-8), and the pieces left empty dropped.
  TrimmedNonEmpty,
};

// The pieces of `text` between occurrences of `separator`, in order.
std::vector<std::string_view> split_at(std::string_view text, char separator, Pieces pieces = Pieces::All);

}  // namespace tarn
