#include "main/main.h"

#include <cstdlib>
#include <exception>
#include <new>
#include <string>
#include <vector>

#include "main/cli.h"
#include "main/output.h"
#include "main/run.h"
#include "main/sanitize.h"
#include "parser/parser.h"

namespace tarn {

namespace {

int dispatch(int argc, char** argv) {
  std::vector<std::string> args;
  for (int i = 1; i < argc; ++i) args.emplace_back(argv[i]);
  CliOutcome outcome = parse_command_line(args, detect_cli_styling());
  if (const CliExit* exit = std::get_if<CliExit>(&outcome)) {
    write_stdout(exit->out);
    write_stderr(exit->err);
    return exit->status;
  }
  const Result<uint8_t> status = run(std::get<Cli>(outcome));
  if (status.ok()) return status.value();
  write_stderr(fatal_error_line(status.error().message()));
  return 2;
}

void report_escape(std::string_view message, void (*write_error)(std::string_view)) noexcept {
  try {
    write_error(fatal_error_line(message));
  } catch (...) {
    // Building the line needs memory; when even that fails, this is why.
    write_error("error: out of memory\n");
  }
}

// The parser's allocations fail inside C code that cannot unwind: end the
// run as an escaped std::bad_alloc would.
[[noreturn]] void parser_out_of_memory() {
  report_escape("out of memory", write_stderr);
  flush_output();
  std::_Exit(2);
}

}  // namespace

// One line, whatever the message holds: newlines are escaped too.
std::string fatal_error_line(std::string_view message) {
  return error_line(sanitize_for_terminal(message, true));
}

int run_guarded(int (*body)(int, char**), int argc, char** argv, void (*write_error)(std::string_view)) noexcept {
  try {
    return body(argc, argv);
  } catch (const std::bad_alloc&) {
    report_escape("out of memory", write_error);
  } catch (const std::exception& e) {
    try {
      report_escape("unexpected failure: " + std::string(e.what()), write_error);
    } catch (...) {
      report_escape("out of memory", write_error);
    }
  } catch (...) {
    report_escape("unexpected failure", write_error);
  }
  return 2;
}

int tarn_main(int argc, char** argv) {
  install_output_handling();
  set_parser_out_of_memory_handler(parser_out_of_memory);
  const int status = run_guarded(dispatch, argc, argv, write_stderr);
  flush_output();
  return status;
}

}  // namespace tarn
