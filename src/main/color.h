// The colour decision and the ANSI styling of text elements.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace tarn {

// The variables the colour decision reads, each absent when unset.
struct ColorEnvironment {
  std::optional<std::string_view> clicolor_force = std::nullopt;
  std::optional<std::string_view> no_color = std::nullopt;
  std::optional<std::string_view> clicolor = std::nullopt;

  static ColorEnvironment current();
};

// CLICOLOR_FORCE (not "0") forces colour on; else NO_COLOR turns it off; else
// CLICOLOR=0 turns it off; else on exactly when the stream is a terminal.
bool color_decision(const ColorEnvironment& env, bool is_terminal);

// That decision for standard output, made once per process; it also governs
// the word "error" on standard error.
bool color_enabled();

enum class Color { None, Red, Green, Yellow, Blue, Cyan };

// ESC[<codes>m text ESC[0m when colour is on and the text is not empty (bold
// code first, then underline, then the colour); bare text otherwise.
std::string style(std::string_view text, Color color, bool bold = false);
// The same with the colour decision given, for text rendered before it is printed.
std::string style(std::string_view text, Color color, bool bold, bool enabled, bool underline = false);

}  // namespace tarn
