#include "rules/changeset_rules.h"

#include <algorithm>
#include <string>
#include <utility>

#include "util/glob.h"
#include "rules/rule_support.h"
#include "util/path.h"
#include "util/utf8.h"

namespace tarn {

namespace {

// ---- R008 ----

constexpr RuleDescription kDisallowedFileChanges{
    "R008", "disallowed-file-changes",
    "Migrations should not be changed alongside certain file types. Use allowed-file-patterns to specify which files "
    "may change alongside migrations.",
    true};

constexpr RuleText kDisallowedFileText{
    "File '{}' does not match any allowed pattern and changed alongside migrations",
    "Database migrations and application code should be deployed separately. Split this PR into separate changes or "
    "add the pattern to allowed-file-patterns."};

// A changed path is matched as two texts: the whole path with "/"
// separators, then its file name alone (empty when it has none).
bool is_allowed(const std::vector<GlobPattern>& patterns, std::string_view path) {
  std::string whole = utf8_lossy(path);
  std::replace(whole.begin(), whole.end(), '\\', '/');
  std::string_view file_name;
  if (auto name = path_file_name(path); name && is_valid_utf8(*name)) file_name = *name;
  return std::any_of(patterns.begin(), patterns.end(),
                     [&](const GlobPattern& pattern) { return pattern.matches(whole) || pattern.matches(file_name); });
}

class DisallowedFileChanges final : public DescribedRule<ChangesetRule, kDisallowedFileChanges> {
 public:
  std::vector<Diagnostic> check(const std::vector<const ParsedMigration*>& /*migrations*/,
                                const std::vector<std::string>& changed_migrations,
                                const std::vector<std::string>& changed_non_migrations,
                                const Config& config) const override {
    std::vector<Diagnostic> out;
    // Other files only matter when a migration changed too.
    if (changed_migrations.empty() || changed_non_migrations.empty()) return out;
    // The configuration loader has already refused bad patterns; one that
    // slips through here simply allows nothing.
    std::vector<GlobPattern> patterns;
    for (const std::string& text : config.allowed_file_patterns) {
      if (auto pattern = GlobPattern::compile(text)) patterns.push_back(std::move(*pattern));
    }
    for (const std::string& path : changed_non_migrations) {
      if (is_allowed(patterns, path)) continue;
      out.push_back(
          make_diagnostic(*this, Severity::Error, path, kFileStartSpan, kDisallowedFileText, utf8_lossy(path)));
    }
    return out;
  }
};

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

std::unique_ptr<ChangesetRule> make_disallowed_file_changes() { return std::make_unique<DisallowedFileChanges>(); }
std::unique_ptr<ChangesetRule> make_separate_db_state_same_pr() { return std::make_unique<SeparateDbStateSamePr>(); }

}  // namespace tarn
