#include "main/output.h"

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "main/color.h"
#include "util/canonical.h"

namespace tarn {

namespace {
// The report could not be delivered: end at once with the status of a failed
// run. Standard error is unbuffered, so every per-file error line due so far
// has already been written; the reason follows them, unless the reader is
// gone and nobody is left to care.
[[noreturn]] void report_lost(int error) {
  if (error != EPIPE) write_stderr(error_line("Failed to write the report: " + os_error_text(error)));
  std::fflush(stderr);
  std::_Exit(2);
}

// The report is held back in large blocks, so that per-file error lines on
// standard error come before it unless it is very long, and a terminal does
// not get it line by line while files are still being read. Blocks are made
// of whole writes (each ending at a line end, as ReportPrinter hands them)
// and the stream itself is unbuffered: when both streams go to one log, an error line written between
// two blocks never lands inside a report line.
constexpr size_t kHeldBytes = 1 << 20;
char held[kHeldBytes];
size_t held_size = 0;

void put(const char* data, size_t size) {
  errno = 0;
  if (std::fwrite(data, 1, size, stdout) != size) report_lost(errno);
}

void release_held() {
  if (held_size == 0) return;
  put(held, held_size);
  held_size = 0;
}
}  // namespace

void install_output_handling() {
  std::signal(SIGPIPE, SIG_IGN);
  std::setvbuf(stdout, nullptr, _IONBF, 0);
}

void write_stdout(std::string_view text) {
  if (text.empty()) return;
  if (held_size + text.size() > kHeldBytes) release_held();
  if (text.size() > kHeldBytes) {
    put(text.data(), text.size());
    return;
  }
  std::memcpy(held + held_size, text.data(), text.size());
  held_size += text.size();
}

void write_stderr(std::string_view text) {
  if (text.empty()) return;
  // Nothing sensible remains to be done when standard error is gone.
  (void)std::fwrite(text.data(), 1, text.size(), stderr);
}

std::string error_line(std::string_view text) {
  return style("error", Color::Red, true) + ": " + std::string(text) + "\n";
}

void flush_output() {
  release_held();
  errno = 0;
  if (std::fflush(stdout) != 0) report_lost(errno);
  std::fflush(stderr);
}

}  // namespace tarn
