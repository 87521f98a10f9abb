#include <cstddef>
#include <memory>
#include <vector>

#include "rules/changeset_rules.h"
#include "rules/constraint_rules.h"
#include "rules/field_rules.h"
#include "rules/index_rules.h"
#include "rules/operation_rules.h"
#include "rules/rule.h"
#include "rules/sql_rules.h"
#include "rules/table_rules.h"

namespace tarn {

namespace {

// The factories in checking order.
constexpr std::unique_ptr<Rule> (*kPerFileRules[])() = {
    make_non_concurrent_add_index,         // R001
    make_unique_constraint_without_index,  // R002
    make_runsql_create_index,              // R003
    make_missing_atomic_false,             // R004
    make_remove_field_without_separate,    // R005
    make_add_field_foreign_key,            // R006
    make_add_field_not_null,               // R010
    make_rename_field,                     // R011
    make_irreversible_run_python,          // R012
    make_irreversible_run_sql,             // R013
    make_model_imports,                    // R014
    make_alter_field_not_null,             // R015
    make_non_concurrent_remove_index,      // R016
    make_non_concurrent_add_constraint,    // R017
    make_implicit_django_index,            // R018
    make_table_rename_or_drop,             // R019
};

constexpr std::unique_ptr<ChangesetRule> (*kChangesetRules[])() = {
    make_disallowed_file_changes,    // R008
    make_separate_db_state_same_pr,  // R009
};

template <class Made, size_t N>
std::vector<Made> build(Made (*const (&factories)[N])()) {
  std::vector<Made> rules;
  rules.reserve(N);
  for (const auto make : factories) rules.push_back(make());
  return rules;
}

}  // namespace

std::vector<std::unique_ptr<Rule>> all_rules() { return build(kPerFileRules); }

std::vector<std::unique_ptr<ChangesetRule>> changeset_rules() { return build(kChangesetRules); }

}  // namespace tarn
