#include "rules/changeset_rules.h"

#include <string>
#include <utility>

namespace tarn {

namespace {

// TODO(rules2): replace with the shared diagnostic helper.
template <class AnyRule>
Diagnostic make_diagnostic(const AnyRule& rule, Severity severity, std::string_view path, const Span& span,
                           std::string message, std::string help) {
  return Diagnostic{rule.id(), rule.name(), std::move(message), severity, std::string(path), span, std::move(help)};
}

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

class SeparateDbStateSamePr final : public ChangesetRule {
 public:
  std::string_view id() const override { return "R009"; }
  std::string_view name() const override { return "separate-db-state-same-pr"; }
  std::string_view description() const override {
    return "When using SeparateDatabaseAndState, the state change and database change should be in separate "
           "PRs/deployments. Having both in the same changeset defeats the purpose.";
  }
  bool is_error() const override { return true; }

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
        out.push_back(make_diagnostic(*this, Severity::Error, migration->path, op->span, std::string(kMessage),
                                      std::string(kHelp)));
      }
    }
    return out;
  }

 private:
  static constexpr std::string_view kMessage =
      "Both halves of a SeparateDatabaseAndState two-step deployment appear in this changeset";
  static constexpr std::string_view kHelp =
      "Deploy the state-only migration first, wait for all application servers to pick up the change, then deploy "
      "the database-only migration in a separate PR.";
};

}  // namespace

std::unique_ptr<ChangesetRule> make_separate_db_state_same_pr() { return std::make_unique<SeparateDbStateSamePr>(); }

}  // namespace tarn
