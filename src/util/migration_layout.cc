#include "util/migration_layout.h"

#include <limits>

#include "util/path.h"
#include "util/utf8.h"

namespace tarn {

namespace {

// An Aerich file stem: a decimal version number (optionally "+"-signed, fitting
// in 64 bits), "_", and at least one more character.
bool is_numbered_stem(std::string_view stem) {
  if (!is_valid_utf8(stem)) return false;
  const size_t underscore = stem.find('_');
  if (underscore == std::string_view::npos || underscore + 1 == stem.size()) return false;
  std::string_view number = stem.substr(0, underscore);
  if (!number.empty() && number.front() == '+') number.remove_prefix(1);
  if (number.empty()) return false;
  uint64_t value = 0;
  for (const char c : number) {
    if (c < '0' || c > '9') return false;
    const auto digit = static_cast<uint64_t>(c - '0');
    if (value > (std::numeric_limits<uint64_t>::max() - digit) / 10) return false;
    value = value * 10 + digit;
  }
  return true;
}

}  // namespace

std::optional<Framework> detect_framework(std::string_view path) {
  const std::vector<Component> components = path_components(path);
  // Name of the component `up` levels above the last one, when it is a normal name.
  const auto name_at = [&](size_t up) -> std::optional<std::string_view> {
    if (components.size() <= up) return std::nullopt;
    const Component& c = components[components.size() - 1 - up];
    if (c.kind != ComponentKind::Normal) return std::nullopt;
    return c.text;
  };
  const auto file = name_at(0);
  if (!file) return std::nullopt;
  const auto extension = file_name_extension(*file);
  if (!extension || *extension != "py" || *file == "__init__.py") return std::nullopt;
  const auto parent = name_at(1), grandparent = name_at(2);
  if (parent == "migrations") return Framework::Django;
  if (parent == "versions" && (grandparent == "alembic" || grandparent == "migrations")) return Framework::Alembic;
  if (grandparent == "migrations" && is_numbered_stem(file_name_stem(*file))) return Framework::Aerich;
  return std::nullopt;
}

}  // namespace tarn
