#include "main/output.h"

#include <csignal>
#include <cstdio>
#include <cstdlib>

namespace tarn {

namespace {
// The report could not be delivered: end at once, without a message (the
// reader is gone) and with the status of a failed run.
[[noreturn]] void reader_gone() { std::_Exit(2); }
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
  if (std::fwrite(text.data(), 1, text.size(), stdout) != text.size()) reader_gone();
}

void write_stderr(std::string_view text) {
  if (text.empty()) return;
  // Nothing sensible remains to be done when standard error is gone.
  (void)std::fwrite(text.data(), 1, text.size(), stderr);
}

void flush_output() {
  if (std::fflush(stdout) != 0) reader_gone();
  std::fflush(stderr);
}

}  // namespace tarn
