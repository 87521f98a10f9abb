#include "rules/changeset_rules.h"

#include <string>
#include <utility>

#include "rules/rule_support.h"

namespace tarn {

namespace {

// ---- R009 ----

constexpr RuleDescription kSeparateDbStateSamePr{
    "R009", "separate-db-state-same-pr",
    "When using SeparateDatabaseAndState, the state change and database change should be in separate "
    "PRs/deployments. Having both in the same changeset defeats the purpose.",
    true};

constexpr RuleText kBothHalvesText{
    "Both halves of a SeparateDatabaseAndState two-step deployment appear in this changeset",
    "Deploy the state-only migration first, wait for all application servers to pick up the change, then deploy the "
    "database-only migration in a separate PR."};

// The two halves are the one-sided forms of SeparateDatabaseAndState.
enum class Half { None, StateOnly, DatabaseOnly };

Half half_of(const Operation& op) {
  const auto* separate = std::get_if<payload::SeparateDatabaseAndState>(&op.payload);
  if (separate == nullptr || separate->has_state_operations == separate->has_database_operations) return Half::None;
  return separate->has_state_operations ? Half::StateOnly : Half::DatabaseOnly;
}

// The first top-level one-sided SeparateDatabaseAndState of a migration.
const Operation* first_half(const ParsedMigration& migration) {
  for (const Operation& op : migration.operations) {
    if (half_of(op) != Half::None) return &op;
  }
  return nullptr;
}

class SeparateDbStateSamePr final : public DescribedRule<ChangesetRule, kSeparateDbStateSamePr> {
 public:
  std::vector<Diagnostic> check(const std::vector<const ParsedMigration*>& migrations,
                                const std::vector<std::string>& /*changed_migrations*/,
                                const std::vector<std::string>& /*changed_non_migrations*/,
                                const Config& /*config*/) const override {
    bool state_only = false;
    bool database_only = false;
    for (const ParsedMigration* migration : migrations) {
      for (const Operation& op : migration->operations) {
        Half half = half_of(op);
        state_only |= half == Half::StateOnly;
        database_only |= half == Half::DatabaseOnly;
      }
    }
    std::vector<Diagnostic> out;
    if (!state_only || !database_only) return out;
    for (const ParsedMigration* migration : migrations) {
      if (const Operation* op = first_half(*migration)) {
        out.push_back(make_diagnostic(*this, Severity::Error, migration->path, op->span, kBothHalvesText));
      }
    }
    return out;
  }
};

}  // namespace

std::unique_ptr<ChangesetRule> make_separate_db_state_same_pr() { return std::make_unique<SeparateDbStateSamePr>(); }

}  // namespace tarn
