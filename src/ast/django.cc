#include "ast/django.h"

#include <array>
#include <utility>

#include "ast/scope.h"
#include "ast/strings.h"
#include "parser/node.h"

namespace tarn {

namespace {

using K = OperationKind;

constexpr std::array<std::pair<std::string_view, OperationKind>, 22> kClasses{{
    {"AddIndex", K::AddIndex},
    {"AddIndexConcurrently", K::AddIndexConcurrently},
    {"RemoveIndex", K::RemoveIndex},
    {"RemoveIndexConcurrently", K::RemoveIndexConcurrently},
    {"CreateModel", K::CreateModel},
    {"DeleteModel", K::DeleteModel},
    {"RenameModel", K::RenameModel},
    {"AddField", K::AddField},
    {"RemoveField", K::RemoveField},
    {"AlterField", K::AlterField},
    {"RenameField", K::RenameField},
    {"AddConstraint", K::AddConstraint},
    {"RemoveConstraint", K::RemoveConstraint},
    {"RunSQL", K::RunSQL},
    {"RunPython", K::RunPython},
    {"SeparateDatabaseAndState", K::SeparateDatabaseAndState},
    {"AlterModelOptions", K::AlterModelOptions},
    {"AlterModelManagers", K::AlterModelManagers},
    {"AlterModelTable", K::AlterModelTable},
    {"AlterUniqueTogether", K::AlterUniqueTogether},
    {"AlterIndexTogether", K::AlterIndexTogether},
    {"AlterOrderWithRespectTo", K::AlterOrderWithRespectTo},
}};

OperationKind kind_of_class(std::string_view name) {
  for (const auto& [text, kind] : kClasses) {
    if (text == name) return kind;
  }
  return K::Other;
}

std::string name_or_empty(const CallArguments& args, std::string_view keyword, size_t position) {
  return read_name_argument(args, keyword, position).value_or("");
}

// Column facts of the field definition passed to AddField / AlterField.
std::optional<FieldFlags> read_field_flags(const CallArguments& args) {
  const std::string_view source = args.source();
  const auto definition = args.keyword_else_position("field", 2);
  if (!definition || !node_is(*definition, "call")) return std::nullopt;
  const TSNode call = *definition;
  const std::string_view cls = callee_basename(source, call).value_or("");
  // The field lives in a join table of its own; the model's table gets no column.
  if (cls == "ManyToManyField") return std::nullopt;
  FieldFlags flags;
  flags.foreign_key = cls == "ForeignKey" || cls == "OneToOneField";
  flags.is_foreign_key_class = cls == "ForeignKey";
  // Any keyword of the name with the value counts.
  bool db_constraint_false = false, db_index_true = false;
  if (const auto arguments = field(call, "arguments")) {
    const CallArguments field_args(source, *arguments);
    for (const auto& [name, value] : field_args.keywords()) {
      const std::string_view text = trimmed_text(source, value);
      if (name == "db_constraint") {
        db_constraint_false |= text == "False";
      } else if (name == "db_index") {
        db_index_true |= text == "True";
        flags.db_index_false |= text == "False";
      } else if (name == "unique" || name == "primary_key") {
        flags.unique |= text == "True";
      } else if (name == "null") {
        flags.null |= text == "True";
      } else if (name == "default") {
        flags.has_default |= is_provided_value(source, value);
      } else if (name == "db_default") {
        flags.has_db_default |= is_provided_value(source, value);
      }
    }
  }
  flags.db_constraint = !db_constraint_false;
  flags.db_index = db_index_true || (cls == "SlugField" && !flags.db_index_false);
  return flags;
}

// A unique constraint that is more than a plain list of columns: an
// expression passed by position, included or operator-class columns, or a
// condition.
bool is_non_plain_unique(std::string_view source, TSNode constraint) {
  const auto arguments = field(constraint, "arguments");
  if (!arguments) return false;
  const CallArguments args(source, *arguments);
  if (args.positional_count() > 0) return true;
  for (const auto& [key, value] : args.keywords()) {
    if (key == "include" || key == "opclasses") {
      if (!is_none_or_empty_collection(source, value)) return true;
    } else if (key == "condition") {
      if (!is_none_or_empty_call(source, value, {"Q", "models.Q"})) return true;
    }
  }
  return false;
}

payload::Constraint read_constraint(const CallArguments& args) {
  payload::Constraint out;
  out.model = name_or_empty(args, "model_name", 0);
  const auto constraint = args.keyword_else_position("constraint", 1);
  if (!constraint) return out;
  const auto cls = callee_basename(args.source(), *constraint);
  if (!cls) return out;
  if (*cls == "UniqueConstraint") {
    out.constraint_kind = ConstraintKind::Unique;
    out.non_plain_unique = is_non_plain_unique(args.source(), *constraint);
  } else if (*cls == "CheckConstraint") {
    out.constraint_kind = ConstraintKind::Check;
  } else if (*cls == "ExclusionConstraint") {
    out.constraint_kind = ConstraintKind::Exclusion;
  }
  return out;
}

payload::Field read_field(const CallArguments& args, OperationKind kind) {
  payload::Field out;
  const bool rename = kind == K::RenameField;
  out.model = name_or_empty(args, "model_name", 0);
  out.name = name_or_empty(args, "name", 1);
  out.old_name = read_name_argument(args, "old_name", rename ? std::optional<size_t>(1) : std::nullopt);
  out.new_name = read_name_argument(args, "new_name", rename ? std::optional<size_t>(2) : std::nullopt);
  if (kind == K::AddField || kind == K::AlterField) out.flags = read_field_flags(args);
  return out;
}

payload::Model read_model(const CallArguments& args, OperationKind kind) {
  payload::Model out;
  if (kind == K::RenameModel) {
    out.name = name_or_empty(args, "new_name", 1);
    out.old_name = read_name_argument(args, "old_name", 0);
  } else {
    out.name = name_or_empty(args, "name", 0);
  }
  return out;
}

OperationPayload read_payload(DjangoContext& ctx, const CallArguments& args, OperationKind kind) {
  switch (kind) {
    case K::AddIndex:
    case K::AddIndexConcurrently:
    case K::RemoveIndex:
    case K::RemoveIndexConcurrently:
      return payload::Index{name_or_empty(args, "model_name", 0)};
    case K::CreateModel:
    case K::DeleteModel:
    case K::RenameModel:
    case K::AlterModelTable:
      return read_model(args, kind);
    case K::AddField:
    case K::RemoveField:
    case K::AlterField:
    case K::RenameField:
      return read_field(args, kind);
    case K::AddConstraint:
    case K::RemoveConstraint:
      return read_constraint(args);
    case K::RunSQL:
      return read_run_sql_args(ctx, args);
    case K::RunPython:
      return read_run_python_args(args);
    case K::SeparateDatabaseAndState:
      return read_separate_database_and_state_args(ctx, args);
    case K::AlterUniqueTogether:
      return read_unique_together_args(args);
    case K::AlterIndexTogether:
      return read_index_together_args(args);
    case K::RawSql:
    case K::AlterModelOptions:
    case K::AlterModelManagers:
    case K::AlterOrderWithRespectTo:
    case K::Other:
      break;
  }
  return payload::Empty{};
}

}  // namespace

std::optional<Operation> decode_django_operation(DjangoContext& ctx, TSNode call) {
  const auto args = field(call, "arguments");
  const auto cls = callee_basename(ctx.source, call);
  if (!cls || !args) return std::nullopt;
  Operation op;
  op.kind = kind_of_class(*cls);
  op.payload = read_payload(ctx, CallArguments(ctx.source, *args), op.kind);
  op.span = node_span(call);
  return op;
}

void decode_operation_calls(DjangoContext& ctx, TSNode list, std::vector<Operation>& out) {
  for_each_child(list, [&](TSNode child) {
    const TSNode element = unparenthesized(child);
    if (node_is(element, "call")) {
      if (auto op = decode_django_operation(ctx, element)) out.push_back(std::move(*op));
    }
    return true;
  });
}

namespace {

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
  const auto right = unparenthesized(field(*assignment, "right"));
  if (!right) return out;  // an annotation without a value
  decode_operation_calls(ctx, *right, out);
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

// Every import statement of the module, at any depth, in source order.
std::vector<ModuleImport> module_imports(const ParsedSource& parsed) {
  std::vector<ModuleImport> out;
  walk_preorder(parsed.root(), [&](TSNode n) {
    const std::string_view type = node_type(n);
    if (type == "import_statement" || type == "import_from_statement") {
      out.push_back(to_module_import(parsed.source, n));
      return false;
    }
    return may_hold_statements(type);
  });
  return out;
}

}  // namespace

Status analyze_django(const ParsedSource& parsed, ParsedMigration& out) {
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
  out.imports = module_imports(parsed);
  if (ctx.cut_short) return Error::parse_failed(out.path, *ctx.cut_short);
  return ok_status();
}

}  // namespace tarn
