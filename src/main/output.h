// Writing to the standard streams. A reader that goes away (`tarn . | head`)
// ends the process quietly instead of killing it with SIGPIPE; any other
// failure to write the report is said on standard error.
#pragma once

#include <string>
#include <string_view>

namespace tarn {

// Ignores SIGPIPE so a closed pipe surfaces as a write error, and hands
// standard output to the blocks write_stdout keeps; call once at start.
void install_output_handling();

// Each call is a whole part of the report (a batch of findings, a summary),
// ending at a line end: the report reaches the stream only at such a boundary.
void write_stdout(std::string_view text);
void write_stderr(std::string_view text);

// "error: {text}\n", the word styled like every error line; the caller has
// already made the text safe for a terminal.
std::string error_line(std::string_view text);

// Flushes both streams. A standard output that cannot take the report ends
// the process with status 2: quietly when the reader is gone, else with one
// error line naming the reason.
void flush_output();

}  // namespace tarn
