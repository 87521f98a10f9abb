// op.<method>(...) calls of an Alembic upgrade -> operations. Only literal
// arguments are read: string literals for names, and the source text of a few
// keyword values compared with True, False and None.
#include <array>

#include "ast/alembic.h"
#include "ast/call_args.h"
#include "ast/strings.h"
#include "parser/node.h"

namespace tarn {

namespace {

// A non-empty string literal's value.
std::optional<std::string> string_value(const CallArguments& args, std::optional<TSNode> node) {
  auto literal = string_node_kind(node);
  if (!literal) return std::nullopt;
  std::string value = python_string_value(args.source(), *literal);
  if (value.empty()) return std::nullopt;
  return value;
}

bool keyword_text_is(const CallArguments& args, std::string_view name, std::string_view text) {
  auto value = args.keyword(name);
  return value && trimmed_text(args.source(), *value) == text;
}
bool keyword_true(const CallArguments& args, std::string_view name) { return keyword_text_is(args, name, "True"); }

// A name given as positional argument `index` (from 0) or as keyword `name`.
std::optional<std::string> name_arg(const CallArguments& args, size_t index, std::string_view name) {
  if (auto value = string_value(args, args.positional(index))) return value;
  return string_value(args, args.keyword(name));
}

// The table with its schema; none when the schema cannot be read (or a
// double-star argument could be supplying it).
std::optional<TableRef> table_ref_with_schema(const CallArguments& args, const std::string& name,
                                              std::string_view schema_keyword, bool allow_positional_schema) {
  if (args.has_dictionary_splat()) return std::nullopt;
  const auto schema =
      args.keyword_else_position(schema_keyword, allow_positional_schema ? std::optional<size_t>(11) : std::nullopt);
  if (!schema || trimmed_text(args.source(), *schema) == "None") return TableRef{name, std::nullopt};
  auto value = string_value(args, schema);
  if (!value) return std::nullopt;
  if (*value == "None") return TableRef{name, std::nullopt};
  return TableRef{name, std::move(value)};
}

// Every operation of one call shares its span and autocommit flag.
struct CallSite {
  Span span;
  bool in_autocommit;

  Operation make(OperationKind kind, std::optional<TableRef> table, OperationPayload payload) const {
    return Operation{std::move(table), std::move(payload), span, in_autocommit, kind};
  }
};

bool is_call_to(std::string_view source, TSNode node, std::initializer_list<std::string_view> names) {
  const auto callee = callee_name(source, node);
  if (!callee) return false;
  for (std::string_view n : names)
    if (*callee == n) return true;
  return false;
}

std::vector<Operation> build_create_table_op(const CallArguments& args, const CallSite& site, const CallPlace& place,
                                             const std::string& table) {
  // The table counts as new only when the call certainly runs and cannot
  // silently skip an existing table.
  bool certain = place.unconditional && place.statement;
  if (auto ine = args.keyword("if_not_exists")) {
    const std::string_view text = trimmed_text(args.source(), *ine);
    certain = certain && (text == "None" || text == "False");
  }
  auto ref = certain ? table_ref_with_schema(args, table, "schema", false) : std::nullopt;
  return {site.make(OperationKind::CreateModel, std::move(ref), payload::Model{table, std::nullopt})};
}

std::vector<Operation> build_add_column_op(const CallArguments& args, const CallSite& site, const std::string& table,
                                           TSNode column) {
  if (!is_call_to(args.source(), column, {"Column", "sa.Column", "sqlalchemy.Column"})) return {};
  auto column_args_node = field(column, "arguments");
  if (!column_args_node) return {};
  const CallArguments col(args.source(), *column_args_node);
  auto name = string_value(col, col.positional(0));
  if (!name) return {};

  FieldFlags flags;
  for (size_t i = 0; i < col.positional_count(); ++i) {
    if (is_call_to(args.source(), *col.positional(i), {"ForeignKey", "sa.ForeignKey", "sqlalchemy.ForeignKey"})) {
      flags.foreign_key = flags.is_foreign_key_class = true;
      break;
    }
  }
  flags.db_constraint = true;
  flags.db_index = keyword_true(col, "index");
  flags.unique = keyword_true(col, "unique");
  flags.null = !keyword_text_is(col, "nullable", "False") && !keyword_true(col, "primary_key");
  auto server_default = col.keyword("server_default");
  flags.has_db_default = server_default && trimmed_text(col.source(), *server_default) != "None";

  auto ref = table_ref_with_schema(args, table, "schema", false);
  std::vector<Operation> ops;
  ops.push_back(site.make(OperationKind::AddField, ref,
                          payload::Field{table, std::move(*name), std::nullopt, std::nullopt, flags}));
  if (flags.unique)
    ops.push_back(
        site.make(OperationKind::AddConstraint, ref, payload::Constraint{table, false, false, ConstraintKind::Unique}));
  if (flags.db_index) ops.push_back(site.make(OperationKind::AddIndex, ref, payload::Index{table}));
  return ops;
}

std::vector<Operation> build_alter_column_ops(const CallArguments& args, const CallSite& site, const std::string& table,
                                              const std::string& column) {
  // alter_column(table, column, nullable, comment, server_default, new_column_name,
  //              type_, ..., schema) is the positional order.
  auto ref = table_ref_with_schema(args, table, "schema", true);
  const auto nullable = args.positional(2);
  const bool nullable_false =
      keyword_text_is(args, "nullable", "False") || (nullable && trimmed_text(args.source(), *nullable) == "False");
  const auto type = args.keyword_else_position("type_", 6);
  const bool type_changed = type && trimmed_text(args.source(), *type) != "None";

  std::vector<Operation> ops;
  if (nullable_false || type_changed) {
    FieldFlags flags;
    flags.db_constraint = true;
    flags.null = !nullable_false;
    flags.type_changed = type_changed;
    ops.push_back(site.make(OperationKind::AlterField, ref,
                            payload::Field{table, column, std::nullopt, std::nullopt, flags}));
  }
  auto renamed = string_value(args, args.keyword("new_column_name"));
  if (!renamed) renamed = string_value(args, args.positional(5));
  if (renamed)
    ops.push_back(site.make(OperationKind::RenameField, ref,
                            payload::Field{table, column, column, std::move(renamed), std::nullopt}));
  return ops;
}

std::vector<Operation> build_constraint_op(const CallArguments& args, const CallSite& site, const std::string& table,
                                           ConstraintKind kind, std::string_view schema_keyword) {
  return {site.make(OperationKind::AddConstraint, table_ref_with_schema(args, table, schema_keyword, false),
                    payload::Constraint{table, keyword_true(args, "postgresql_not_valid"), false, kind})};
}

enum class Method {
  Execute,
  CreateTable,
  DropTable,
  RenameTable,
  AddColumn,
  DropColumn,
  AlterColumn,
  CreateIndex,
  DropIndex,
  CreateUniqueConstraint,
  CreateForeignKey,
  CreateCheckConstraint,
  CreateExcludeConstraint,
};

std::optional<Method> lookup_method(std::string_view name) {
  static constexpr std::array<std::pair<std::string_view, Method>, 13> kMethods{{
      {"execute", Method::Execute},
      {"create_table", Method::CreateTable},
      {"drop_table", Method::DropTable},
      {"rename_table", Method::RenameTable},
      {"add_column", Method::AddColumn},
      {"drop_column", Method::DropColumn},
      {"alter_column", Method::AlterColumn},
      {"create_index", Method::CreateIndex},
      {"drop_index", Method::DropIndex},
      {"create_unique_constraint", Method::CreateUniqueConstraint},
      {"create_foreign_key", Method::CreateForeignKey},
      {"create_check_constraint", Method::CreateCheckConstraint},
      {"create_exclude_constraint", Method::CreateExcludeConstraint},
  }};
  for (const auto& [text, method] : kMethods)
    if (text == name) return method;
  return std::nullopt;
}

}  // namespace

std::vector<Operation> decode_alembic_op_call(std::string_view source, TSNode call, const CallPlace& place) {
  // "op." and a method name: a receiver spelled otherwise (a batch operation
  // object, a module path) is not the migration's op.
  const auto callee = callee_name(source, call, 2);
  if (!callee || !callee->starts_with("op.")) return {};
  auto method = lookup_method(std::string_view(*callee).substr(3));
  if (!method) return {};
  auto arguments = field(call, "arguments");
  if (!arguments) return {};

  const CallArguments args(source, *arguments);
  const CallSite site{node_span(call), place.in_autocommit};
  const auto schema_ref = [&](const std::string& table) { return table_ref_with_schema(args, table, "schema", false); };

  switch (*method) {
    case Method::Execute: {
      auto sql = string_value(args, args.positional(0));
      if (!sql) sql = string_value(args, args.keyword("sqltext"));
      if (!sql) return {};
      return {site.make(OperationKind::RawSql, std::nullopt, payload::Sql{std::move(*sql), std::nullopt})};
    }
    case Method::CreateTable: {
      auto table = name_arg(args, 0, "table_name");
      if (!table) return {};
      return build_create_table_op(args, site, place, *table);
    }
    case Method::DropTable: {
      auto table = name_arg(args, 0, "table_name");
      if (!table) return {};
      return {site.make(OperationKind::DeleteModel, schema_ref(*table), payload::Model{*table, std::nullopt})};
    }
    case Method::RenameTable: {
      auto old_name = name_arg(args, 0, "old_table_name");
      auto new_name = name_arg(args, 1, "new_table_name");
      if (!old_name || !new_name) return {};
      return {site.make(OperationKind::RenameModel, schema_ref(*new_name), payload::Model{*new_name, *old_name})};
    }
    case Method::AddColumn: {
      auto table = name_arg(args, 0, "table_name");
      auto column = args.positional_count() >= 2 ? args.positional(1) : args.keyword("column");
      if (!table || !column) return {};
      return build_add_column_op(args, site, *table, *column);
    }
    case Method::DropColumn: {
      auto table = name_arg(args, 0, "table_name");
      auto column = name_arg(args, 1, "column_name");
      if (!table || !column) return {};
      return {site.make(OperationKind::RemoveField, schema_ref(*table),
                        payload::Field{*table, *column, std::nullopt, std::nullopt, std::nullopt})};
    }
    case Method::AlterColumn: {
      auto table = name_arg(args, 0, "table_name");
      auto column = name_arg(args, 1, "column_name");
      if (!table || !column) return {};
      return build_alter_column_ops(args, site, *table, *column);
    }
    case Method::CreateIndex:
    case Method::DropIndex: {
      const bool create = *method == Method::CreateIndex;
      auto table = name_arg(args, 1, "table_name");
      // An index is dropped by name; the table is optional there.
      if (!table && create) return {};
      const std::string name = table.value_or("");
      const bool concurrent = keyword_true(args, "postgresql_concurrently");
      const OperationKind kind = create ? (concurrent ? OperationKind::AddIndexConcurrently : OperationKind::AddIndex)
                                        : (concurrent ? OperationKind::RemoveIndexConcurrently : OperationKind::RemoveIndex);
      return {site.make(kind, schema_ref(name), payload::Index{name})};
    }
    case Method::CreateUniqueConstraint: {
      auto table = name_arg(args, 1, "table_name");
      if (!table) return {};
      return {site.make(OperationKind::AddConstraint, schema_ref(*table),
                        payload::Constraint{*table, false, false, ConstraintKind::Unique})};
    }
    case Method::CreateForeignKey: {
      auto table = name_arg(args, 1, "source_table");
      if (!table) return {};
      return build_constraint_op(args, site, *table, ConstraintKind::ForeignKey, "source_schema");
    }
    case Method::CreateCheckConstraint:
    case Method::CreateExcludeConstraint: {
      auto table = name_arg(args, 1, "table_name");
      if (!table) return {};
      const ConstraintKind kind =
          *method == Method::CreateCheckConstraint ? ConstraintKind::Check : ConstraintKind::Exclusion;
      return build_constraint_op(args, site, *table, kind, "schema");
    }
  }
  return {};
}

}  // namespace tarn
