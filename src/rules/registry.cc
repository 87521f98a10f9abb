#include <string_view>

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

// The checking order; each slot names the id its factory builds.
struct PerFileSlot {
  std::string_view id;
  std::unique_ptr<Rule> (*make)();
};

struct ChangesetSlot {
  std::string_view id;
  std::unique_ptr<ChangesetRule> (*make)();
};

constexpr PerFileSlot kPerFileRules[] = {
    {"R001", make_non_concurrent_add_index},
    {"R002", make_unique_constraint_without_index},
    {"R003", make_runsql_create_index},
    {"R004", make_missing_atomic_false},
    {"R005", make_remove_field_without_separate},
    {"R006", make_add_field_foreign_key},
    {"R010", make_add_field_not_null},
    {"R011", make_rename_field},
    {"R012", make_irreversible_run_python},
    {"R013", make_irreversible_run_sql},
    {"R014", make_model_imports},
    {"R015", make_alter_field_not_null},
    {"R016", make_non_concurrent_remove_index},
    {"R017", make_non_concurrent_add_constraint},
    {"R018", make_implicit_django_index},
    {"R019", make_table_rename_or_drop},
};

constexpr ChangesetSlot kChangesetRules[] = {
    {"R008", make_disallowed_file_changes},
    {"R009", make_separate_db_state_same_pr},
};

template <class Slot, size_t N>
auto build(const Slot (&slots)[N]) {
  std::vector<decltype(slots[0].make())> rules;
  rules.reserve(N);
  for (const Slot& slot : slots) rules.push_back(slot.make());
  return rules;
}

}  // namespace

std::vector<std::unique_ptr<Rule>> all_rules() { return build(kPerFileRules); }

std::vector<std::unique_ptr<ChangesetRule>> changeset_rules() { return build(kChangesetRules); }

}  // namespace tarn
