// Test-only: one-line summaries of operations, so expectations read as text.
#pragma once

#include <string>
#include <vector>

#include "ast/model.h"

namespace tarn::testutil {

inline const char* kind_label(OperationKind k) {
  static const char* const kNames[] = {
      "AddIndex",          "AddIndexConcurrently",    "RemoveIndex",       "RemoveIndexConcurrently",
      "CreateModel",       "DeleteModel",             "RenameModel",       "AddField",
      "RemoveField",       "AlterField",              "RenameField",       "AddConstraint",
      "RemoveConstraint",  "RunSQL",                  "RawSql",            "RunPython",
      "SeparateDatabaseAndState", "AlterModelOptions", "AlterModelManagers", "AlterModelTable",
      "AlterUniqueTogether", "AlterIndexTogether",    "AlterOrderWithRespectTo", "Other"};
  return kNames[static_cast<int>(k)];
}

inline std::string flags_label(const FieldFlags& f) {
  std::string s;
  const auto add = [&](bool on, const char* name) {
    if (!on) return;
    if (!s.empty()) s += ',';
    s += name;
  };
  add(f.foreign_key, "fk");
  add(f.is_foreign_key_class, "fkclass");
  add(f.db_constraint, "dbc");
  add(f.db_index, "index");
  add(f.db_index_false, "noindex");
  add(f.unique, "unique");
  add(f.null, "null");
  add(f.has_default, "default");
  add(f.has_db_default, "dbdefault");
  add(f.type_changed, "type");
  return "{" + s + "}";
}

inline const char* constraint_label(ConstraintKind k) {
  static const char* const kNames[] = {"Unique", "ForeignKey", "Check", "Exclusion", "Other"};
  return kNames[static_cast<int>(k)];
}

// "Kind @schema.table payload-fields [ctx]"; "@-" when the table is absent.
inline std::string summary(const Operation& op) {
  std::string s = kind_label(op.kind);
  s += " @";
  if (!op.table) {
    s += "-";
  } else {
    if (op.table->schema) s += *op.table->schema + ".";
    s += op.table->name;
  }
  if (const auto* p = std::get_if<payload::Index>(&op.payload)) {
    s += " model=" + p->model;
  } else if (const auto* p = std::get_if<payload::Model>(&op.payload)) {
    s += " name=" + p->name;
    if (p->old_name) s += " old=" + *p->old_name;
  } else if (const auto* p = std::get_if<payload::Field>(&op.payload)) {
    s += " model=" + p->model + " name=" + p->name;
    if (p->old_name) s += " old=" + *p->old_name;
    if (p->new_name) s += " new=" + *p->new_name;
    if (p->flags) s += " " + flags_label(*p->flags);
  } else if (const auto* p = std::get_if<payload::Constraint>(&op.payload)) {
    s += " model=" + p->model + " " + constraint_label(p->constraint_kind);
    if (p->not_valid) s += " not_valid";
    if (p->non_plain_unique) s += " non_plain";
  } else if (const auto* p = std::get_if<payload::Sql>(&op.payload)) {
    s += " sql=[" + p->sql + "]";
    if (p->reverse_sql) s += " reverse=[" + *p->reverse_sql + "]";
  } else {
    s += " <unexpected payload>";
  }
  if (op.context_flag) s += " ctx";
  return s;
}

inline std::vector<std::string> summaries(const std::vector<Operation>& ops) {
  std::vector<std::string> out;
  for (const Operation& op : ops) out.push_back(summary(op));
  return out;
}

}  // namespace tarn::testutil
