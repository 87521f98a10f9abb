// Test support: parsing a snippet, and a ParsedMigration as compact, stable
// text so tests compare whole records against readable expectations.
#pragma once

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "ast/analyze.h"
#include "ast/model.h"
#include "parser/node.h"
#include "parser/parser.h"

namespace tarn::testing {

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
  TSNode statement = *first_named_child(parsed.root());
  TSNode value = *field(*first_named_child(statement), "right");
  while (node_is(value, "parenthesized_expression")) {
    const TSNode outer = value;
    for_each_child(outer, [&](TSNode c) {
      if (ts_node_is_named(c) && !node_is(c, "comment")) {
        value = c;
        return false;
      }
      return true;
    });
    if (ts_node_eq(outer, value)) break;
  }
  return value;
}

inline std::string text_of(std::string_view s) {
  static const char* const hex = "0123456789abcdef";
  std::string out = "\"";
  for (const char c : s) {
    const auto u = static_cast<unsigned char>(c);
    if (c == '"' || c == '\\') {
      out += '\\';
      out += c;
    } else if (c == '\n') {
      out += "\\n";
    } else if (u < 0x20 || u == 0x7f) {
      out += "\\x";
      out += hex[u >> 4];
      out += hex[u & 15];
    } else {
      out += c;
    }
  }
  return out + "\"";
}

inline std::string opt_text(const std::optional<std::string>& s) { return s ? text_of(std::string_view(*s)) : "-"; }

inline std::string position(const Span& s) {
  return std::to_string(s.start_line) + ":" + std::to_string(s.start_column) + "-" + std::to_string(s.end_line) +
         ":" + std::to_string(s.end_column);
}

inline std::string flags_text(const std::optional<FieldFlags>& f) {
  if (!f) return "-";
  std::string out;
  const auto add = [&](bool on, const char* name) {
    if (!on) return;
    if (!out.empty()) out += ',';
    out += name;
  };
  add(f->foreign_key, "fk");
  add(f->is_foreign_key_class, "fk_class");
  add(f->db_constraint, "db_constraint");
  add(f->db_index, "db_index");
  add(f->db_index_false, "db_index_false");
  add(f->unique, "unique");
  add(f->null, "null");
  add(f->has_default, "default");
  add(f->has_db_default, "db_default");
  add(f->type_changed, "type_changed");
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

inline const char* constraint_name(ConstraintKind k) {
  static const char* const names[] = {"Unique", "ForeignKey", "Check", "Exclusion", "Other"};
  return names[static_cast<int>(k)];
}

inline void dump_operation(const Operation& op, const std::string& indent, bool spans, std::string& out);

inline std::string payload_text(const OperationPayload& payload, const std::string& indent, bool spans,
                                std::string& nested) {
  using namespace payload;
  if (const auto* p = std::get_if<Index>(&payload)) return "model=" + text_of(p->model);
  if (const auto* p = std::get_if<Model>(&payload)) return "name=" + text_of(p->name) + " old=" + opt_text(p->old_name);
  if (const auto* p = std::get_if<Field>(&payload)) {
    return "model=" + text_of(p->model) + " name=" + text_of(p->name) + " old=" + opt_text(p->old_name) +
           " new=" + opt_text(p->new_name) + " flags=" + flags_text(p->flags);
  }
  if (const auto* p = std::get_if<Constraint>(&payload)) {
    return "model=" + text_of(p->model) + " " + constraint_name(p->constraint_kind) +
           (p->non_plain_unique ? " non_plain" : "") + (p->not_valid ? " not_valid" : "");
  }
  if (const auto* p = std::get_if<UniqueTogether>(&payload)) {
    return "model=" + text_of(p->model) + (p->has_entries ? " entries" : " empty");
  }
  if (const auto* p = std::get_if<IndexTogether>(&payload)) {
    return "model=" + text_of(p->model) + (p->has_entries ? " entries" : " empty");
  }
  if (const auto* p = std::get_if<Sql>(&payload)) return "sql=" + text_of(p->sql) + " reverse=" + opt_text(p->reverse_sql);
  if (const auto* p = std::get_if<Python>(&payload)) {
    return "code=" + text_of(p->code) + " reverse=" + opt_text(p->reverse_code);
  }
  if (const auto* p = std::get_if<SeparateDatabaseAndState>(&payload)) {
    for (const Operation& op : p->database_operations) dump_operation(op, indent + "  ", spans, nested);
    return std::string("database=") + (p->has_database_operations ? "yes" : "no") +
           " state=" + (p->has_state_operations ? "yes" : "no");
  }
  return "empty";
}

inline void dump_operation(const Operation& op, const std::string& indent, bool spans, std::string& out) {
  std::string nested;
  out += indent + kind_name(op.kind) + " " + (spans ? position(op.span) + " " : std::string()) +
         payload_text(op.payload, indent, spans, nested);
  if (op.table) out += " table=" + text_of(op.table->name) + "." + opt_text(op.table->schema);
  if (op.context_flag) out += " context";
  out += "\n" + nested;
}

inline std::string dump_operations(const std::vector<Operation>& ops, bool spans = true) {
  std::string out;
  for (const Operation& op : ops) dump_operation(op, "", spans, out);
  return out;
}

inline std::string dump_migration(const ParsedMigration& m) {
  static const char* const frameworks[] = {"Django", "Alembic", "Aerich"};
  std::string out = std::string("framework ") + frameworks[static_cast<int>(m.framework)] + "\n";
  out += "class " + (m.migration_class_span ? position(*m.migration_class_span) : std::string("-")) + "\n";
  if (m.non_atomic) out += "non_atomic\n";
  for (const ModuleImport& i : m.imports) {
    out += "import " + position(i.span) + " from=" + opt_text(i.module);
    for (const std::string& n : i.names) out += " " + n;
    out += "\n";
  }
  for (const auto& [line, ids] : m.suppressions) {
    out += "suppress " + std::to_string(line);
    for (const std::string& id : ids) out += " " + id;
    out += "\n";
  }
  return out + dump_operations(m.operations);
}

// The operations of a Django migration whose list holds `call`, after the
// module-level `prelude`, without spans.
inline std::string decoded_operations(const std::string& prelude, const std::string& call) {
  const ParsedSource parsed = parse_source(prelude + "\nclass Migration:\n    operations = [\n        " + call + ",\n    ]\n");
  return dump_operations(analyze_migration("app/migrations/0002_x.py", parsed).operations, false);
}

struct DecodeCase {
  std::string prelude;
  std::string call;
  std::string expected;
};

inline void expect_decoded(const std::vector<DecodeCase>& cases) {
  for (const DecodeCase& c : cases) EXPECT_EQ(decoded_operations(c.prelude, c.call), c.expected) << c.call;
}

}  // namespace tarn::testing
