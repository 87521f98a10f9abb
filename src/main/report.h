// Ordering and printing the run's diagnostics.
#pragma once

#include <string>
#include <vector>

#include "main/output_format.h"
#include "rules/rule.h"

namespace tarn {

// Stable sort by path (component-wise), start line, start column, rule id.
void sort_diagnostics(std::vector<Diagnostic>& diagnostics);

// The report in the chosen format on standard output; nothing at all for an
// empty list in the text formats.
void print_diagnostics(const std::vector<Diagnostic>& diagnostics, OutputFormat format);

// The text formats as printed; `color` is the colour decision to style with.
std::string render_default(const std::vector<Diagnostic>& diagnostics, bool color);
std::string render_compact(const std::vector<Diagnostic>& diagnostics);

}  // namespace tarn
