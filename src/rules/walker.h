// The walk shared by the rules that only report operations on tables that
// already existed before the migration: it tracks what the migration itself
// creates, renames and drops, and hands each operation to the rule's test.
#pragma once

#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "ast/model.h"
#include "rules/rule.h"
#include "rules/rule_support.h"

namespace tarn {

// What the migration has created so far; lives for one rule over one file.
struct TableTracker {
  std::set<std::string> models;  // Django model names, Unicode lower-cased
  std::set<TableRef> tables;     // Alembic/Aerich tables, exact name and schema
};

class WalkerRule;

struct WalkContext {
  const ParsedMigration& migration;
  const std::string& path;
  const WalkerRule& rule;
  std::vector<Diagnostic>& diagnostics;

  // Appends a finding of the walking rule at `span`, with its texts for the
  // migration's framework (`name` filling the message's "{}" when given).
  void report(const Span& span, const FrameworkTexts& texts, Severity severity = Severity::Error,
              std::optional<std::string_view> name = std::nullopt);
};

// A per-file rule built on the walk: it supplies only its per-operation test.
class WalkerRule : public Rule {
 public:
  // Walks the top-level operations in source order with a fresh tracker.
  std::vector<Diagnostic> check(const ParsedMigration& migration, const RuleContext& ctx) const override;

  // Called once per walked operation (never for a SeparateDatabaseAndState
  // itself), with the tracker as it stands after the operation's own
  // tracking (before it, for a DeleteModel).
  virtual void test(const Operation& operation, const TableTracker& tracker, WalkContext& ctx) const = 0;
};

// Whether the operation's table was created earlier in the same migration.
bool is_created_here(Framework framework, const Operation& operation, const TableTracker& tracker);

}  // namespace tarn
