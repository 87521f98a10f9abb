// op.<method>(...) calls of an Alembic upgrade -> operations. Only literal
// arguments are read: string literals for names, and the source text of a few
// keyword values compared with True, False and None.
#include <array>

#include "ast/alembic.h"
#include "ast/strings.h"
#include "parser/node.h"
#include "util/utf8.h"

namespace tarn {

namespace {

// The arguments of one call: positional ones (splats included, keywords and
// comments not) and keyword ones. Values are seen through their parentheses.
class CallArgs {
 public:
  CallArgs(std::string_view source, TSNode arguments) : source_(source) {
    for_each_child(arguments, [&](TSNode c) {
      if (!ts_node_is_named(c)) return true;
      if (node_is(c, "keyword_argument")) {
        keywords_.push_back(c);
      } else if (!node_is(c, "comment")) {
        positional_.push_back(unparenthesized(c));
        if (node_is(c, "dictionary_splat")) has_dictionary_splat_ = true;
      }
      return true;
    });
  }

  std::string_view source() const { return source_; }
  size_t positional_count() const { return positional_.size(); }
  bool has_dictionary_splat() const { return has_dictionary_splat_; }

  // Positional argument n, counted from 1.
  std::optional<TSNode> positional(size_t n) const {
    if (n == 0 || n > positional_.size()) return std::nullopt;
    return positional_[n - 1];
  }

  std::optional<TSNode> keyword(std::string_view name) const {
    for (TSNode kw : keywords_) {
      auto key = field(kw, "name");
      if (!key || node_text(source_, *key) != name) continue;
      if (auto value = field(kw, "value")) return unparenthesized(*value);
    }
    return std::nullopt;
  }

  // A non-empty string literal's value.
  std::optional<std::string> string_value(std::optional<TSNode> node) const {
    auto literal = string_node_kind(node);
    if (!literal) return std::nullopt;
    std::string value = python_string_value(source_, *literal);
    if (value.empty()) return std::nullopt;
    return value;
  }

  std::string_view trimmed(TSNode node) const { return trim_unicode(node_text(source_, node)); }

  bool keyword_text_is(std::string_view name, std::string_view text) const {
    auto value = keyword(name);
    return value && trimmed(*value) == text;
  }
  bool keyword_true(std::string_view name) const { return keyword_text_is(name, "True"); }

  // A name given as positional argument n or as keyword `name`.
  std::optional<std::string> name_arg(size_t n, std::string_view name) const {
    if (auto value = string_value(positional(n))) return value;
    return string_value(keyword(name));
  }

 private:
  std::string_view source_;
  std::vector<TSNode> positional_;
  std::vector<TSNode> keywords_;
  bool has_dictionary_splat_ = false;
};

// The table with its schema; none when the schema cannot be read (or a
// double-star argument could be supplying it).
std::optional<TableRef> table_ref_with_schema(const CallArgs& args, const std::string& name,
                                              std::string_view schema_keyword, bool allow_positional_schema) {
  if (args.has_dictionary_splat()) return std::nullopt;
  auto schema = args.keyword(schema_keyword);
  if (!schema && allow_positional_schema) schema = args.positional(12);
  if (!schema || args.trimmed(*schema) == "None") return TableRef{name, std::nullopt};
  auto value = args.string_value(schema);
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
  if (!node_is(node, "call")) return false;
  auto fn = field(node, "function");
  if (!fn) return false;
  const std::string_view text = node_text(source, *fn);
  for (std::string_view n : names)
    if (text == n) return true;
  return false;
}

std::vector<Operation> build_create_table_op(const CallArgs& args, const CallSite& site, TSNode call,
                                             bool unconditional, const std::string& table) {
  // The table counts as new only when the call certainly runs and cannot
  // silently skip an existing table.
  bool certain = unconditional;
  const TSNode parent = ts_node_parent(call);
  certain = certain && !ts_node_is_null(parent) && node_is(parent, "expression_statement");
  if (auto ine = args.keyword("if_not_exists")) {
    const std::string_view text = args.trimmed(*ine);
    certain = certain && (text == "None" || text == "False");
  }
  auto ref = certain ? table_ref_with_schema(args, table, "schema", false) : std::nullopt;
  return {site.make(OperationKind::CreateModel, std::move(ref), payload::Model{table, std::nullopt})};
}

std::vector<Operation> build_add_column_op(const CallArgs& args, const CallSite& site, const std::string& table,
                                           TSNode column) {
  if (!is_call_to(args.source(), column, {"Column", "sa.Column", "sqlalchemy.Column"})) return {};
  auto column_args_node = field(column, "arguments");
  if (!column_args_node) return {};
  const CallArgs col(args.source(), *column_args_node);
  auto name = col.string_value(col.positional(1));
  if (!name) return {};

  FieldFlags flags;
  for (size_t i = 1; i <= col.positional_count(); ++i) {
    if (is_call_to(args.source(), *col.positional(i), {"ForeignKey", "sa.ForeignKey", "sqlalchemy.ForeignKey"})) {
      flags.foreign_key = flags.is_foreign_key_class = true;
      break;
    }
  }
  flags.db_constraint = true;
  flags.db_index = col.keyword_true("index");
  flags.unique = col.keyword_true("unique");
  flags.null = !col.keyword_text_is("nullable", "False") && !col.keyword_true("primary_key");
  auto server_default = col.keyword("server_default");
  flags.has_db_default = server_default && col.trimmed(*server_default) != "None";

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

std::vector<Operation> build_alter_column_ops(const CallArgs& args, const CallSite& site, const std::string& table,
                                              const std::string& column) {
  // alter_column(table, column, nullable, comment, server_default, new_column_name,
  //              type_, ..., schema) is the positional order.
  auto ref = table_ref_with_schema(args, table, "schema", true);
  const bool nullable_false =
      args.keyword_text_is("nullable", "False") || (args.positional(3) && args.trimmed(*args.positional(3)) == "False");
  auto type = args.keyword("type_");
  if (!type) type = args.positional(7);
  const bool type_changed = type && args.trimmed(*type) != "None";

  std::vector<Operation> ops;
  if (nullable_false || type_changed) {
    FieldFlags flags;
    flags.db_constraint = true;
    flags.null = !nullable_false;
    flags.type_changed = type_changed;
    ops.push_back(site.make(OperationKind::AlterField, ref,
                            payload::Field{table, column, std::nullopt, std::nullopt, flags}));
  }
  auto renamed = args.string_value(args.keyword("new_column_name"));
  if (!renamed) renamed = args.string_value(args.positional(6));
  if (renamed)
    ops.push_back(site.make(OperationKind::RenameField, ref,
                            payload::Field{table, column, column, std::move(renamed), std::nullopt}));
  return ops;
}

std::vector<Operation> build_constraint_op(const CallArgs& args, const CallSite& site, const std::string& table,
                                           ConstraintKind kind, std::string_view schema_keyword) {
  return {site.make(OperationKind::AddConstraint, table_ref_with_schema(args, table, schema_keyword, false),
                    payload::Constraint{table, args.keyword_true("postgresql_not_valid"), false, kind})};
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

std::vector<Operation> decode_alembic_op_call(std::string_view source, TSNode call, bool in_autocommit,
                                              bool unconditional) {
  auto fn = field(call, "function");
  if (!fn) return {};
  const std::string_view text = node_text(source, *fn);
  if (!text.starts_with("op.")) return {};
  auto method = lookup_method(text.substr(3));
  if (!method) return {};
  auto arguments = field(call, "arguments");
  if (!arguments) return {};

  const CallArgs args(source, *arguments);
  const CallSite site{node_span(call), in_autocommit};
  const auto schema_ref = [&](const std::string& table) { return table_ref_with_schema(args, table, "schema", false); };

  switch (*method) {
    case Method::Execute: {
      auto sql = args.string_value(args.positional(1));
      if (!sql) sql = args.string_value(args.keyword("sqltext"));
      if (!sql) return {};
      return {site.make(OperationKind::RawSql, std::nullopt, payload::Sql{std::move(*sql), std::nullopt})};
    }
    case Method::CreateTable: {
      auto table = args.name_arg(1, "table_name");
      if (!table) return {};
      return build_create_table_op(args, site, call, unconditional, *table);
    }
    case Method::DropTable: {
      auto table = args.name_arg(1, "table_name");
      if (!table) return {};
      return {site.make(OperationKind::DeleteModel, schema_ref(*table), payload::Model{*table, std::nullopt})};
    }
    case Method::RenameTable: {
      auto old_name = args.name_arg(1, "old_table_name");
      auto new_name = args.name_arg(2, "new_table_name");
      if (!old_name || !new_name) return {};
      return {site.make(OperationKind::RenameModel, schema_ref(*new_name), payload::Model{*new_name, *old_name})};
    }
    case Method::AddColumn: {
      auto table = args.name_arg(1, "table_name");
      auto column = args.positional_count() >= 2 ? args.positional(2) : args.keyword("column");
      if (!table || !column) return {};
      return build_add_column_op(args, site, *table, *column);
    }
    case Method::DropColumn: {
      auto table = args.name_arg(1, "table_name");
      auto column = args.name_arg(2, "column_name");
      if (!table || !column) return {};
      return {site.make(OperationKind::RemoveField, schema_ref(*table),
                        payload::Field{*table, *column, std::nullopt, std::nullopt, std::nullopt})};
    }
    case Method::AlterColumn: {
      auto table = args.name_arg(1, "table_name");
      auto column = args.name_arg(2, "column_name");
      if (!table || !column) return {};
      return build_alter_column_ops(args, site, *table, *column);
    }
    case Method::CreateIndex:
    case Method::DropIndex: {
      const bool create = *method == Method::CreateIndex;
      auto table = args.name_arg(2, "table_name");
      // An index is dropped by name; the table is optional there.
      if (!table && create) return {};
      const std::string name = table.value_or("");
      const bool concurrent = args.keyword_true("postgresql_concurrently");
      const OperationKind kind = create ? (concurrent ? OperationKind::AddIndexConcurrently : OperationKind::AddIndex)
                                        : (concurrent ? OperationKind::RemoveIndexConcurrently : OperationKind::RemoveIndex);
      return {site.make(kind, schema_ref(name), payload::Index{name})};
    }
    case Method::CreateUniqueConstraint: {
      auto table = args.name_arg(2, "table_name");
      if (!table) return {};
      return {site.make(OperationKind::AddConstraint, schema_ref(*table),
                        payload::Constraint{*table, false, false, ConstraintKind::Unique})};
    }
    case Method::CreateForeignKey: {
      auto table = args.name_arg(2, "source_table");
      if (!table) return {};
      return build_constraint_op(args, site, *table, ConstraintKind::ForeignKey, "source_schema");
    }
    case Method::CreateCheckConstraint:
    case Method::CreateExcludeConstraint: {
      auto table = args.name_arg(2, "table_name");
      if (!table) return {};
      const ConstraintKind kind =
          *method == Method::CreateCheckConstraint ? ConstraintKind::Check : ConstraintKind::Exclusion;
      return build_constraint_op(args, site, *table, kind, "schema");
    }
  }
  return {};
}

}  // namespace tarn
