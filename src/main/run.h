// One invocation of tarn, from the parsed command line to the exit status.
#pragma once

#include <cstdint>

#include "error/result.h"
#include "main/cli.h"

namespace tarn {

// The exit status (0, 1 or 2), or a fatal error for main to report.
Result<uint8_t> run(const Cli& cli);

}  // namespace tarn
