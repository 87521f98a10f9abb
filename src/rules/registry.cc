#include <string_view>

#include "rules/index_rules.h"
#include "rules/rule.h"

namespace tarn {

namespace {

// The checking order. A slot whose factory is null belongs to a rule that is
// not built into this program yet; its id keeps the place it will take.
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
    {"R002", nullptr},
    {"R003", nullptr},
    {"R004", nullptr},
    {"R005", nullptr},
    {"R006", nullptr},
    {"R010", nullptr},
    {"R011", nullptr},
    {"R012", nullptr},
    {"R013", nullptr},
    {"R014", nullptr},
    {"R015", nullptr},
    {"R016", make_non_concurrent_remove_index},
    {"R017", nullptr},
    {"R018", nullptr},
    {"R019", nullptr},
};

constexpr ChangesetSlot kChangesetRules[] = {
    {"R008", nullptr},
    {"R009", nullptr},
};

template <class Slot, size_t N>
auto build(const Slot (&slots)[N]) {
  std::vector<decltype(slots[0].make())> rules;
  rules.reserve(N);
  for (const Slot& slot : slots) {
    if (slot.make) rules.push_back(slot.make());
  }
  return rules;
}

}  // namespace

std::vector<std::unique_ptr<Rule>> all_rules() { return build(kPerFileRules); }

std::vector<std::unique_ptr<ChangesetRule>> changeset_rules() { return build(kChangesetRules); }

}  // namespace tarn
