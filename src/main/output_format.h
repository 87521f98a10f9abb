// The report formats of --output-format.
#pragma once

#include <cstdint>

namespace tarn {

enum class OutputFormat : uint8_t { Default = 0, Json = 1, Compact = 2 };

}  // namespace tarn
