// Running the rules: selection, suppression comments and warnings-as-errors
// around the rules' own checks.
#pragma once

#include <cstdint>
#include <memory>
#include <set>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "ast/model.h"
#include "config/config.h"
#include "rules/rule.h"

namespace tarn {

// The enabled per-file rules' findings for one migration, grouped by rule in
// registry order, each group in the rule's own order.
std::vector<Diagnostic> run_rules(const std::vector<std::unique_ptr<Rule>>& rules, const ParsedMigration& migration,
                                  const Config& config);

// The enabled changeset rules' findings over a whole change set.
std::vector<Diagnostic> run_changeset_rules(const std::vector<std::unique_ptr<ChangesetRule>>& rules,
                                            const std::vector<const ParsedMigration*>& migrations,
                                            const std::vector<std::string>& changed_migrations,
                                            const std::vector<std::string>& changed_non_migrations,
                                            const Config& config);

// Whether a comment naming rule_id lies on the line before start_line or on
// any line through end_line.
bool is_suppressed_in_range(const SuppressionMap& suppressions, std::string_view rule_id, uint64_t start_line,
                            uint64_t end_line);

// Which changeset findings the change set's comments let through: one about
// a migration of the change set follows that migration's comments (the first
// migration with its path decides); one about any other changed file is
// dropped when any migration names its rule anywhere. Built once per change
// set, so each finding costs one lookup whatever the number of migrations.
class ChangesetSuppressions {
 public:
  explicit ChangesetSuppressions(const std::vector<const ParsedMigration*>& migrations);
  bool keeps(const Diagnostic& diagnostic) const;

 private:
  std::unordered_map<std::string, const ParsedMigration*> by_path_;  // by lexical form
  std::set<std::string> named_anywhere_;
};

}  // namespace tarn
