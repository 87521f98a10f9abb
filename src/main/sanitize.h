// Makes program and user texts safe to print on a terminal.
#pragma once

#include <string>
#include <string_view>

namespace tarn {

// C0 controls, DEL and C1 controls become "\xNN" (lower-case hex); a newline
// is kept when escape_newlines is false. Invalid UTF-8 is read lossily.
std::string sanitize_for_terminal(std::string_view text, bool escape_newlines);

// A path's display text: lossy UTF-8, sanitised with newlines escaped.
std::string path_to_string(std::string_view path);

}  // namespace tarn
