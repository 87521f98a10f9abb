// Writing to the standard streams. A reader that goes away (`tarn . | head`)
// ends the process quietly instead of killing it with SIGPIPE.
#pragma once

#include <string_view>

namespace tarn {

// Ignores SIGPIPE so a closed pipe surfaces as a write error; call once at start.
void install_output_handling();

void write_stdout(std::string_view text);
void write_stderr(std::string_view text);

// Flushes both streams; a closed standard output ends the process quietly.
void flush_output();

}  // namespace tarn
