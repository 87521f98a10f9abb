// Which framework's layout a path fits, from the path text alone.
#pragma once

#include <optional>
#include <string_view>

#include "ast/model.h"

namespace tarn {

std::optional<Framework> detect_framework(std::string_view path);

}  // namespace tarn
