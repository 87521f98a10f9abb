#include "ast/analyze.h"

#include "ast/aerich.h"
#include "ast/alembic.h"
#include "ast/django.h"
#include "ast/framework.h"
#include "ast/scope.h"
#include "ast/strings.h"
#include "ast/suppression.h"
#include "parser/node.h"

namespace tarn {

namespace {

// The assignment a statement of a class body consists of, if any.
std::optional<TSNode> statement_assignment(TSNode statement) {
  if (!node_is(statement, "expression_statement")) return std::nullopt;
  const auto assignment = first_named_child(statement);
  if (!assignment || !node_is(*assignment, "assignment")) return std::nullopt;
  return assignment;
}

bool assigns_to(std::string_view source, TSNode assignment, std::string_view name) {
  const auto left = field(assignment, "left");
  return left && node_text(source, *left) == name;
}

std::vector<Operation> django_operations(DjangoContext& ctx, TSNode body) {
  std::vector<Operation> out;
  std::optional<TSNode> assignment;
  for_each_child(body, [&](TSNode statement) {
    assignment = statement_assignment(statement);
    if (assignment && !assigns_to(ctx.source, *assignment, "operations")) assignment.reset();
    return !assignment;
  });
  if (!assignment) return out;
  const auto right = field(*assignment, "right");
  if (!right) return out;  // an annotation without a value
  for_each_child(*right, [&](TSNode child) {
    if (node_is(child, "call")) {
      if (auto op = decode_django_operation(ctx, child)) out.push_back(std::move(*op));
    }
    return true;
  });
  return out;
}

// Later `atomic` assignments still count when an earlier one is not False.
bool django_non_atomic(std::string_view source, TSNode body) {
  bool non_atomic = false;
  for_each_child(body, [&](TSNode statement) {
    const auto assignment = statement_assignment(statement);
    if (!assignment || !assigns_to(source, *assignment, "atomic")) return true;
    const auto right = field(*assignment, "right");
    non_atomic = right && is_false_literal(*right);
    return !non_atomic;
  });
  return non_atomic;
}

// Statements live only in the module, in blocks, and in the compound
// statements, clauses and definitions that hold blocks; expressions and the
// simple statements made of them never do, and they are most of a migration.
bool may_hold_statements(std::string_view type) {
  if (type == "module" || type == "block") return true;
  if (type.ends_with("_clause") || type.ends_with("_definition")) return true;
  return type.ends_with("_statement") && type != "expression_statement" && type != "return_statement";
}

ModuleImport to_module_import(std::string_view source, TSNode statement) {
  ModuleImport out;
  out.span = node_span(statement);
  const auto module = field(statement, "module_name");
  if (module) out.module = std::string(node_text(source, *module));
  for_each_child(statement, [&](TSNode child) {
    if (!ts_node_is_named(child) || (module && ts_node_eq(child, *module))) return true;
    const std::string_view type = node_type(child);
    if (type == "identifier" || type == "dotted_name") {
      out.names.emplace_back(node_text(source, child));
    } else if (type == "aliased_import") {
      if (const auto name = field(child, "name")) out.names.emplace_back(node_text(source, *name));
    } else if (type == "wildcard_import") {
      out.names.emplace_back("*");
    }
    return true;
  });
  return out;
}

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

void analyze_django(const ParsedSource& parsed, ParsedMigration& out) {
  const auto migration = find_migration_class(parsed);
  const ModuleScope scope = collect_module_variables(parsed, migration);
  DjangoContext ctx(parsed.source, scope);
  if (migration) {
    out.migration_class_span = node_span(*migration);
    if (const auto body = field(*migration, "body")) {
      out.operations = django_operations(ctx, *body);
      out.non_atomic = django_non_atomic(parsed.source, *body);
    }
  }
  std::vector<TSNode> imports;
  scan_imports(parsed.root(), imports);
  out.imports.reserve(imports.size());
  for (const TSNode statement : imports) out.imports.push_back(to_module_import(parsed.source, statement));
}

}  // namespace

void scan_imports(TSNode node, std::vector<TSNode>& out) {
  walk_preorder(node, [&](TSNode n) {
    const std::string_view type = node_type(n);
    if (type == "import_statement" || type == "import_from_statement") {
      out.push_back(n);
      return false;
    }
    return may_hold_statements(type);
  });
}

bool is_false_literal(TSNode node) { return node_is(unparenthesized(node), "false"); }

ParsedMigration analyze_migration(const std::string& path, const ParsedSource& parsed) {
  ParsedMigration m;
  m.path = path;
  m.suppressions = collect_suppressions(parsed);
  // Framework dispatch. A file that fits no layout is analysed as Django.
  switch (detect_framework(path).value_or(Framework::Django)) {
    case Framework::Django:
      m.framework = Framework::Django;
      analyze_django(parsed, m);
      break;
    case Framework::Alembic:
      m.framework = Framework::Alembic;
      m.operations = alembic_operations(parsed);
      break;
    case Framework::Aerich: {
      m.framework = Framework::Aerich;
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
