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
}  // namespace

void install_output_handling() {
  std::signal(SIGPIPE, SIG_IGN);
  // The report reaches the stream in large blocks: per-file error lines on
  // standard error come before it unless it is very long, and a terminal
  // does not get it line by line while files are still being read.
  static char buffer[1 << 20];
  std::setvbuf(stdout, buffer, _IOFBF, sizeof buffer);
}

void write_stdout(std::string_view text) {
  if (text.empty()) return;
  errno = 0;
  if (std::fwrite(text.data(), 1, text.size(), stdout) != text.size()) report_lost(errno);
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
  errno = 0;
  if (std::fflush(stdout) != 0) report_lost(errno);
  std::fflush(stderr);
}

}  // namespace tarn
