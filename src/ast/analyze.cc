#include "ast/analyze.h"

#include "ast/aerich.h"
#include "ast/alembic.h"
#include "ast/django.h"
#include "ast/suppression.h"
#include "parser/node.h"
#include "util/migration_layout.h"

namespace tarn {

namespace {

// First ERROR or MISSING node in pre-order; its descendants are not searched.
std::optional<TSNode> first_error_node(TSNode node) {
  if (ts_node_is_error(node) || ts_node_is_missing(node)) return node;
  std::optional<TSNode> found;
  for_each_child(node, [&](TSNode child) {
    found = first_error_node(child);
    return !found.has_value();
  });
  return found;
}

}  // namespace

Result<ParsedMigration> analyze_migration(const std::string& path, const ParsedSource& parsed) {
  ParsedMigration m;
  m.path = path;
  m.suppressions = collect_suppressions(parsed);
  // A file that fits no layout is analysed as Django.
  m.framework = detect_framework(path).value_or(Framework::Django);
  switch (m.framework) {
    case Framework::Django:
      TRY(analyze_django(parsed, m));
      break;
    case Framework::Alembic:
      m.operations = alembic_operations(parsed);
      break;
    case Framework::Aerich: {
      AerichAnalysis aerich = aerich_analysis(path, parsed);
      m.operations = std::move(aerich.operations);
      m.non_atomic = aerich.non_atomic;
      break;
    }
  }
  return m;
}

Result<ParsedMigration> parse_migration(const std::string& path, std::string text, SyntaxErrorReport report) {
  if (text.size() > kMaxMigrationBytes) return Error::file_too_large(path, text.size(), kMaxMigrationBytes);
  ParsedSource parsed{std::move(text), nullptr};
  TRY_ASSIGN(parsed.tree, parse_python(parsed.source, path));
  const TSNode root = parsed.root();
  if (ts_node_has_error(root)) {
    if (report == SyntaxErrorReport::Plain) return Error::parse_failed(path, "syntax error in migration file");
    if (const auto bad = first_error_node(root)) {
      const TSPoint at = ts_node_start_point(*bad);
      return Error::syntax_error(path, uint64_t{at.row} + 1, at.column);
    }
  }
  return analyze_migration(path, parsed);
}

}  // namespace tarn
