// libFuzzer target: the first line of the input is a pattern, every further
// line a path it is matched against (a seed reads as a pattern and its
// candidates). A pattern that compiles must match any text without failing
// and in time bounded by the fuzzer's timeout.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "util/glob.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string_view input(reinterpret_cast<const char*>(data), size);
  const size_t end = input.find('\n');
  auto pattern = tarn::GlobPattern::compile(input.substr(0, end));
  if (!pattern.ok() || end == std::string_view::npos) return 0;
  input.remove_prefix(end + 1);
  while (true) {
    const size_t next = input.find('\n');
    (void)pattern->matches(input.substr(0, next));
    if (next == std::string_view::npos) break;
    input.remove_prefix(next + 1);
  }
  return 0;
}
