#include "main/color.h"

#include <unistd.h>

#include <cstdlib>

namespace tarn {

namespace {
std::optional<std::string_view> variable(const char* name) {
  const char* value = std::getenv(name);
  if (value == nullptr) return std::nullopt;
  return value;
}
}  // namespace

ColorEnvironment ColorEnvironment::current() {
  return {variable("CLICOLOR_FORCE"), variable("NO_COLOR"), variable("CLICOLOR")};
}

bool color_decision(const ColorEnvironment& env, bool is_terminal) {
  if (env.clicolor_force && *env.clicolor_force != "0") return true;
  if (env.no_color) return false;
  if (env.clicolor == "0") return false;
  return is_terminal;
}

bool color_enabled() {
  static const bool enabled = color_decision(ColorEnvironment::current(), isatty(STDOUT_FILENO) == 1);
  return enabled;
}

std::string style(std::string_view text, Color color, bool bold) {
  return style(text, color, bold, color_enabled());
}

std::string style(std::string_view text, Color color, bool bold, bool enabled, bool underline) {
  if (!enabled || text.empty() || (color == Color::None && !bold && !underline)) return std::string(text);
  std::string codes;
  const auto add = [&codes](const char* code) {
    if (!codes.empty()) codes += ';';
    codes += code;
  };
  if (bold) add("1");
  if (underline) add("4");
  switch (color) {
    case Color::None: break;
    case Color::Red: add("31"); break;
    case Color::Green: add("32"); break;
    case Color::Yellow: add("33"); break;
    case Color::Blue: add("34"); break;
    case Color::Cyan: add("36"); break;
  }
  std::string out = "\x1b[" + codes + "m";
  out += text;
  out += "\x1b[0m";
  return out;
}

}  // namespace tarn
