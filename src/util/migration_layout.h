// What makes a file a migration, known before it is read: the framework whose
// directory layout its path fits, and the largest text any reader accepts.
// Kept at the bottom so that the input modules and the analysis agree on both
// without one reaching into the other.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace tarn {

enum class Framework : uint8_t { Django = 0, Alembic = 1, Aerich = 2 };

// Which framework's layout a path fits, from the path text alone.
std::optional<Framework> detect_framework(std::string_view path);

inline constexpr uint64_t kMaxMigrationBytes = 10485760;

}  // namespace tarn
