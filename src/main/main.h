// The program entry: command line in, exit status out; the one place where a
// fatal error is shown to the user.
#pragma once

#include <string>

#include "error/error.h"

namespace tarn {

// "error: {message}\n", the message on one line with control characters escaped.
std::string fatal_error_line(const Error& error);

int tarn_main(int argc, char** argv);

}  // namespace tarn
