#include "rules/run_rules.h"

#include <algorithm>
#include <iterator>

#include "util/path.h"

namespace tarn {

namespace {

bool names_rule(const std::set<std::string>& ids, std::string_view rule_id) {
  // Nearly every set asked is empty: no selection, no suppression there.
  return !ids.empty() && ids.count(std::string(rule_id)) > 0;
}

// Keeps the diagnostics `keep` accepts, raises them under warnings-as-errors
// and moves them to the end of `out`.
template <class Keep>
void collect(std::vector<Diagnostic>&& found, const Config& config, Keep keep, std::vector<Diagnostic>& out) {
  for (Diagnostic& diagnostic : found) {
    if (!keep(diagnostic)) continue;
    if (config.warnings_as_errors) diagnostic.severity = Severity::Error;
    out.push_back(std::move(diagnostic));
  }
}

// Enabled when select is empty or holds the id, and ignore does not (exact ids).
bool is_rule_enabled(const Config& config, std::string_view id) {
  return (config.select.empty() || names_rule(config.select, id)) && !names_rule(config.ignore, id);
}

}  // namespace

std::vector<Diagnostic> run_rules(const std::vector<std::unique_ptr<Rule>>& rules, const ParsedMigration& migration,
                                  const Config& config) {
  std::vector<const Rule*> enabled;
  for (const auto& rule : rules) {
    if (is_rule_enabled(config, rule->id())) enabled.push_back(rule.get());
  }
  std::vector<Diagnostic> result;
  if (enabled.empty()) return result;

  const RuleContext ctx{config, migration.path};
  for (const Rule* rule : enabled) {
    collect(
        rule->check(migration, ctx), config,
        [&](const Diagnostic& d) {
          return !is_suppressed_in_range(migration.suppressions, d.rule_id, d.span.start_line, d.span.end_line);
        },
        result);
  }
  return result;
}

std::vector<Diagnostic> run_changeset_rules(const std::vector<std::unique_ptr<ChangesetRule>>& rules,
                                            const std::vector<const ParsedMigration*>& migrations,
                                            const std::vector<std::string>& changed_migrations,
                                            const std::vector<std::string>& changed_non_migrations,
                                            const Config& config) {
  std::vector<Diagnostic> result;
  const ChangesetSuppressions suppressions(migrations);
  for (const auto& rule : rules) {
    if (!is_rule_enabled(config, rule->id())) continue;
    collect(
        rule->check(migrations, changed_migrations, changed_non_migrations, config), config,
        [&](const Diagnostic& d) { return suppressions.keeps(d); }, result);
  }
  return result;
}

bool is_suppressed_in_range(const SuppressionMap& suppressions, std::string_view rule_id, uint64_t start_line,
                            uint64_t end_line) {
  // The window starts on the line before the finding; line 0 does not exist.
  const uint64_t first = start_line > 2 ? start_line - 1 : 1;
  if (first > end_line) return false;
  for (auto it = suppressions.lower_bound(first); it != suppressions.end() && it->first <= end_line; ++it) {
    if (names_rule(it->second, rule_id)) return true;
  }
  return false;
}

ChangesetSuppressions::ChangesetSuppressions(const std::vector<const ParsedMigration*>& migrations) {
  for (const ParsedMigration* migration : migrations) {
    by_path_.try_emplace(path_lexical_form(migration->path), migration);
    for (const auto& [line, ids] : migration->suppressions) named_anywhere_.insert(ids.begin(), ids.end());
  }
}

bool ChangesetSuppressions::keeps(const Diagnostic& diagnostic) const {
  if (const auto it = by_path_.find(path_lexical_form(diagnostic.path)); it != by_path_.end()) {
    return !is_suppressed_in_range(it->second->suppressions, diagnostic.rule_id, diagnostic.span.start_line,
                                   diagnostic.span.end_line);
  }
  return !names_rule(named_anywhere_, diagnostic.rule_id);
}

}  // namespace tarn
