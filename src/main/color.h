// The process-wide colour decision and ANSI styling of text elements.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace tarn {

// Decided once per process: CLICOLOR_FORCE (not "0") forces colour on; else
// NO_COLOR turns it off; else CLICOLOR=0 turns it off; else on exactly when
// standard output is a terminal.
bool color_enabled();

// The environment's part of that decision: true when CLICOLOR_FORCE forces
// colour, false when NO_COLOR or CLICOLOR=0 turns it off, nullopt when the
// stream decides.
std::optional<bool> color_from_environment();

enum class Color { None, Red, Green, Yellow, Blue, Cyan };

// ESC[<codes>m text ESC[0m when colour is on (bold code first); bare text otherwise.
std::string style(std::string_view text, Color color, bool bold = false);
// The same with the colour decision given, for text rendered before it is printed.
std::string style(std::string_view text, Color color, bool bold, bool enabled);

}  // namespace tarn
