// Per-file analysis, the driver of the framework decoders: a migration's text
// -> ParsedMigration.
#pragma once

#include <cstdint>
#include <string>

#include "ast/model.h"
#include "error/result.h"
#include "parser/parser.h"

namespace tarn {

// Constructs it does not recognise are skipped. Fails (ParseFailed, naming
// the bound) only when a bound on the work of decoding cuts the analysis
// short, so that no file is reported with part of its operations.
Result<ParsedMigration> analyze_migration(const std::string& path, const ParsedSource& parsed);

// How a text whose tree holds a syntax error is refused. Files on disk name
// where the first error lies; texts read from git never have.
enum class SyntaxErrorReport : uint8_t {
  AtFirstError,  // SyntaxError with the line and column of the first error
  Plain,         // ParseFailed "syntax error in migration file"
};

// The one road from a migration's text to its record, whichever mode read the
// text: size limit, parse, refusal of a tree with a syntax error, analysis.
Result<ParsedMigration> parse_migration(const std::string& path, std::string text, SyntaxErrorReport report);

}  // namespace tarn
