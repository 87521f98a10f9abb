// Test-only: one-line summaries of operations so that expectations of the
// Alembic and Aerich decoders read as short text.
#pragma once

#include <string>
#include <vector>

#include "ast/model.h"
#include "ast/test_support.h"

namespace tarn::testutil {

using testing::parse_source;

// "Kind @schema.table payload-fields [ctx]"; "@-" when the table is absent.
inline std::string summary(const Operation& op) {
  std::string s = testing::kind_name(op.kind);
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
    if (p->flags) s += " " + testing::flags_text(p->flags);
  } else if (const auto* p = std::get_if<payload::Constraint>(&op.payload)) {
    s += " model=" + p->model + " " + testing::constraint_name(p->constraint_kind);
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
