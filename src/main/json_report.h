// The json output format: one pretty-printed document with the findings and
// their counts. Written in pieces so a large report is never held in memory.
#pragma once

#include <cstddef>
#include <string>

#include "rules/rule.h"

namespace tarn {

// Appends one element of the "diagnostics" array; `first` opens the array.
void append_json_diagnostic(std::string& out, const Diagnostic& d, bool first);

// Appends the end of the document after `total` elements were appended.
void append_json_end(std::string& out, size_t total, size_t errors);

}  // namespace tarn
