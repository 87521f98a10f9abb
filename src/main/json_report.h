// The json output format.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "rules/rule.h"

namespace tarn {

// Writes the document on standard output; a serialisation failure is
// reported on standard error instead and leaves standard output empty.
void print_json_report(const std::vector<Diagnostic>& diagnostics);

// The document with its final newline, or nothing with the serialiser's
// error text in `error`.
std::optional<std::string> render_json_report(const std::vector<Diagnostic>& diagnostics, std::string& error);

}  // namespace tarn
