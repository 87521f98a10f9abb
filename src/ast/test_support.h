// Test support: parsing a snippet, and operations and whole migrations as
// compact, stable text so tests compare whole records against readable lines.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <vector>

#include "ast/analyze.h"
#include "ast/model.h"
#include "parser/node.h"
#include "parser/parser.h"

namespace tarn::testing {

using Strings = std::vector<std::string>;

// Parses text that must be free of syntax errors.
inline ParsedSource parse_source(std::string text) {
  ParsedSource parsed{std::move(text), nullptr};
  auto tree = parse_python(parsed.source, "test.py");
  EXPECT_TRUE(tree.ok());
  if (tree.ok()) parsed.tree = std::move(*tree);
  EXPECT_FALSE(parsed.tree && ts_node_has_error(parsed.root())) << parsed.source;
  return parsed;
}

// The value of the first statement `name = value` (parentheses removed).
inline TSNode assigned_value(const ParsedSource& parsed) {
  return unparenthesized(*field(*first_named_child(*first_named_child(parsed.root())), "right"));
}

inline std::string position(const Span& s) {
  return std::to_string(s.start_line) + ":" + std::to_string(s.start_column) + "-" + std::to_string(s.end_line) + ":" +
         std::to_string(s.end_column);
}

inline std::string flags_text(const FieldFlags& f) {
  const std::pair<bool, const char*> flags[] = {
      {f.foreign_key, "fk"},       {f.is_foreign_key_class, "fk_class"}, {f.db_constraint, "db_constraint"},
      {f.db_index, "db_index"},    {f.db_index_false, "db_index_false"}, {f.unique, "unique"},
      {f.null, "null"},            {f.has_default, "default"},           {f.has_db_default, "db_default"},
      {f.type_changed, "type_changed"}};
  std::string out;
  for (const auto& [on, name] : flags) {
    if (on) out += (out.empty() ? "" : ",") + std::string(name);
  }
  return "{" + out + "}";
}

inline const char* kind_name(OperationKind k) {
  static const char* const names[] = {
      "AddIndex",         "AddIndexConcurrently",     "RemoveIndex",       "RemoveIndexConcurrently",
      "CreateModel",      "DeleteModel",              "RenameModel",       "AddField",
      "RemoveField",      "AlterField",               "RenameField",       "AddConstraint",
      "RemoveConstraint", "RunSQL",                   "RawSql",            "RunPython",
      "SeparateDatabaseAndState", "AlterModelOptions", "AlterModelManagers", "AlterModelTable",
      "AlterUniqueTogether", "AlterIndexTogether",    "AlterOrderWithRespectTo", "Other"};
  return names[static_cast<int>(k)];
}

// One line per operation: "Kind [span] [@schema.table] payload [ctx]"; absent
// optional values are left out; nested database operations follow indented.
inline void summarize(const Operation& op, const std::string& indent, bool spans, Strings& out) {
  std::string s = indent + kind_name(op.kind);
  if (spans) s += " " + position(op.span);
  if (op.table) s += " @" + (op.table->schema ? *op.table->schema + "." : "") + op.table->name;
  const auto opt = [&](const char* key, const std::optional<std::string>& v, const char* end = "") {
    if (v) s += key + *v + end;
  };
  Strings nested;
  std::visit(
      [&](const auto& p) {
        if constexpr (requires { p.model; }) s += " model=" + p.model;
        if constexpr (requires { p.name; }) s += " name=" + p.name;
        if constexpr (requires { p.old_name; }) opt(" old=", p.old_name);
        if constexpr (requires { p.new_name; }) opt(" new=", p.new_name);
        if constexpr (requires { p.flags; }) s += p.flags ? " " + flags_text(*p.flags) : "";
        if constexpr (requires { p.constraint_kind; }) {
          static const char* const kinds[] = {"Unique", "ForeignKey", "Check", "Exclusion", "Other"};
          s += std::string(" ") + kinds[static_cast<int>(p.constraint_kind)] +
               (p.non_plain_unique ? " non_plain" : "") + (p.not_valid ? " not_valid" : "");
        }
        if constexpr (requires { p.has_entries; }) s += p.has_entries ? " entries" : " empty";
        if constexpr (requires { p.sql; }) s += " sql=[" + p.sql + "]";
        if constexpr (requires { p.reverse_sql; }) opt(" reverse=[", p.reverse_sql, "]");
        if constexpr (requires { p.code; }) s += " code=[" + p.code + "]";
        if constexpr (requires { p.reverse_code; }) opt(" reverse=[", p.reverse_code, "]");
        if constexpr (requires { p.database_operations; }) {
          s += std::string(" database=") + (p.has_database_operations ? "yes" : "no") +
               " state=" + (p.has_state_operations ? "yes" : "no");
          for (const Operation& inner : p.database_operations) summarize(inner, indent + "  ", spans, nested);
        }
      },
      op.payload);
  if (op.context_flag) s += " ctx";
  out.push_back(s);
  out.insert(out.end(), nested.begin(), nested.end());
}

inline Strings summaries(const std::vector<Operation>& ops, bool spans = false) {
  Strings out;
  for (const Operation& op : ops) summarize(op, "", spans, out);
  return out;
}

// Framework, class span, atomicity, imports, suppressions, then the operations with spans.
inline Strings dump_migration(const ParsedMigration& m) {
  static const char* const frameworks[] = {"Django", "Alembic", "Aerich"};
  Strings out{std::string("framework ") + frameworks[static_cast<int>(m.framework)],
              "class " + (m.migration_class_span ? position(*m.migration_class_span) : std::string("-"))};
  if (m.non_atomic) out.push_back("non_atomic");
  for (const ModuleImport& i : m.imports) {
    out.push_back("import " + position(i.span) + " from=" + (i.module ? *i.module : "-"));
    for (const std::string& n : i.names) out.back() += " " + n;
  }
  for (const auto& [line, ids] : m.suppressions) {
    out.push_back("suppress " + std::to_string(line));
    for (const std::string& id : ids) out.back() += " " + id;
  }
  const Strings ops = summaries(m.operations, true);
  out.insert(out.end(), ops.begin(), ops.end());
  return out;
}

// The operations of an analysed migration, or "error: MESSAGE".
inline Strings summaries(const Result<ParsedMigration>& analysed) {
  return analysed.ok() ? summaries(analysed->operations) : Strings{"error: " + analysed.error().message()};
}

// The operations of a Django migration whose list holds `call`, after the module-level `prelude`.
struct DecodeCase {
  std::string call;
  Strings expected;
  std::string prelude = "";
};

inline void expect_decoded(const std::vector<DecodeCase>& cases) {
  for (const DecodeCase& c : cases) {
    const ParsedSource parsed =
        parse_source(c.prelude + "\nclass Migration:\n    operations = [\n        " + c.call + ",\n    ]\n");
    EXPECT_EQ(summaries(analyze_migration("app/migrations/0002_x.py", parsed)), c.expected) << c.call;
  }
}

}  // namespace tarn::testing
