#include "main/main.h"

#include <string>
#include <vector>

#include "main/cli.h"
#include "main/output.h"
#include "main/run.h"
#include "main/sanitize.h"

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
  write_stderr(fatal_error_line(status.error()));
  return 2;
}

}  // namespace

// One line, whatever the message holds: newlines are escaped too.
std::string fatal_error_line(const Error& error) {
  return error_line(sanitize_for_terminal(error.message(), true));
}

int tarn_main(int argc, char** argv) {
  install_output_handling();
  const int status = dispatch(argc, argv);
  flush_output();
  return status;
}

}  // namespace tarn
