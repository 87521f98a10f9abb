#include "ast/analyze.h"

namespace tarn {

// Placeholder until the Django decoder lands.
ParsedMigration analyze_migration(const std::string& path, const ParsedSource&) {
  ParsedMigration m;
  m.path = path;
  return m;
}

Result<ParsedMigration> parse_migration_source(const std::string& path, std::string_view source) {
  if (source.size() > kMaxMigrationBytes) return Error::file_too_large(path, source.size(), kMaxMigrationBytes);
  ParsedSource parsed{std::string(source), nullptr};
  TRY_ASSIGN(parsed.tree, parse_python(parsed.source, path));
  if (ts_node_has_error(parsed.root())) return Error::parse_failed(path, "syntax error in migration file");
  return analyze_migration(path, parsed);
}

}  // namespace tarn
