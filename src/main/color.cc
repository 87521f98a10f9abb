#include "main/color.h"

#include <unistd.h>

#include <cstdlib>
#include <cstring>

namespace tarn {

std::optional<bool> color_from_environment() {
  if (const char* force = std::getenv("CLICOLOR_FORCE"); force && std::strcmp(force, "0") != 0) return true;
  if (std::getenv("NO_COLOR")) return false;
  if (const char* cli = std::getenv("CLICOLOR"); cli && std::strcmp(cli, "0") == 0) return false;
  return std::nullopt;
}

bool color_enabled() {
  static const bool enabled = color_from_environment().value_or(isatty(STDOUT_FILENO) == 1);
  return enabled;
}

std::string style(std::string_view text, Color color, bool bold) {
  return style(text, color, bold, color_enabled());
}

std::string style(std::string_view text, Color color, bool bold, bool enabled) {
  if (!enabled || (color == Color::None && !bold)) return std::string(text);
  std::string codes = bold ? "1" : "";
  const char* fg = nullptr;
  switch (color) {
    case Color::None: break;
    case Color::Red: fg = "31"; break;
    case Color::Green: fg = "32"; break;
    case Color::Yellow: fg = "33"; break;
    case Color::Blue: fg = "34"; break;
    case Color::Cyan: fg = "36"; break;
  }
  if (fg) {
    if (!codes.empty()) codes += ';';
    codes += fg;
  }
  std::string out = "\x1b[" + codes + "m";
  out += text;
  out += "\x1b[0m";
  return out;
}

}  // namespace tarn
