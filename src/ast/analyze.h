// Per-file analysis: one parsed, error-free migration text -> ParsedMigration.
#pragma once

#include <tree_sitter/api.h>

#include <string>
#include <string_view>
#include <vector>

#include "ast/model.h"
#include "error/result.h"
#include "parser/parser.h"

namespace tarn {

// Never fails: constructs it does not recognise are skipped.
ParsedMigration analyze_migration(const std::string& path, const ParsedSource& parsed);

// Entry point for text that did not come from disk (git mode): size limit,
// parse, refusal of a tree with a syntax error, then analysis.
Result<ParsedMigration> parse_migration_source(const std::string& path, std::string_view source);

// Appends every import statement in the subtree of `node`, in source order.
void scan_imports(TSNode node, std::vector<TSNode>& out);

// The literal False, also inside any number of parentheses (comments in them
// included).
bool is_false_literal(TSNode node);

}  // namespace tarn
