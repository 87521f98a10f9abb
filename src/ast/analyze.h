// Per-file analysis: one parsed, error-free migration text -> ParsedMigration.
#pragma once

#include <tree_sitter/api.h>

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "ast/model.h"
#include "error/result.h"
#include "parser/parser.h"

namespace tarn {

// Never fails: constructs it does not recognise are skipped.
ParsedMigration analyze_migration(const std::string& path, const ParsedSource& parsed);

// How a text whose tree holds a syntax error is refused. Files on disk name
// where the first error lies; texts read from git never have.
enum class SyntaxErrorReport : uint8_t {
  AtFirstError,  // SyntaxError with the line and column of the first error
  Plain,         // ParseFailed "syntax error in migration file"
};

// The one road from a migration's text to its record, whichever mode read the
// text: size limit, parse, refusal of a tree with a syntax error, analysis.
Result<ParsedMigration> parse_migration(const std::string& path, std::string text, SyntaxErrorReport report);

// Appends every import statement in the subtree of `node`, in source order.
void scan_imports(TSNode node, std::vector<TSNode>& out);

// The literal False, also inside any number of parentheses (comments in them
// included).
bool is_false_literal(TSNode node);

}  // namespace tarn
