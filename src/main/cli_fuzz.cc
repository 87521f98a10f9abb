// libFuzzer target: the input split at NUL bytes is the argument list after
// the program name (an argument can hold any byte but NUL), parsed with and
// without styled output.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "main/cli.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string_view input(reinterpret_cast<const char*>(data), size);
  std::vector<std::string> args;
  while (!input.empty()) {
    const size_t end = input.find('\0');
    args.emplace_back(input.substr(0, end));
    if (end == std::string_view::npos) break;
    input.remove_prefix(end + 1);
  }
  (void)tarn::parse_command_line(args);
  (void)tarn::parse_command_line(args, tarn::CliStyling{true, true});
  return 0;
}
