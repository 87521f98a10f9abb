#include "util/split.h"

#include <algorithm>

#include "util/utf8.h"

namespace tarn {

std::vector<std::string_view> split_at(std::string_view text, char separator, Pieces pieces) {
  std::vector<std::string_view> out;
  for (size_t start = 0;;) {
    const size_t end = std::min(text.find(separator, start), text.size());
    std::string_view piece = text.substr(start, end - start);
    if (pieces == Pieces::TrimmedNonEmpty) piece = trim_unicode(piece);
    if (pieces == Pieces::All || !piece.empty()) out.push_back(piece);
    if (end == text.size()) return out;
    start = end + 1;
  }
}

}  // namespace tarn
