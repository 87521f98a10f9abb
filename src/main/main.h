// The program entry: command line in, exit status out; the one place where a
// fatal error is shown to the user.
#pragma once

#include <string>
#include <string_view>

namespace tarn {

// "error: {message}\n", the message on one line with control characters escaped.
std::string fatal_error_line(std::string_view message);

// Runs `body`. An exception that escapes it is reported through `write_error`
// as one fatal-error line, and the status is then 2.
int run_guarded(int (*body)(int, char**), int argc, char** argv, void (*write_error)(std::string_view)) noexcept;

int tarn_main(int argc, char** argv);

}  // namespace tarn
