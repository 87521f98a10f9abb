// What every rule produces and the two rule interfaces.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "ast/model.h"
#include "config/config.h"

namespace tarn {

enum class Severity : uint8_t { Warning = 0, Error = 1 };

inline std::string_view severity_word(Severity s) { return s == Severity::Error ? "error" : "warning"; }

struct Diagnostic {
  std::string_view rule_id;    // the rule's own constant
  std::string_view rule_name;  // the rule's own constant
  std::string message;
  Severity severity = Severity::Error;
  std::string path;
  Span span;
  // Every help text is a rule's own constant, so findings share it.
  std::optional<std::string_view> help;
};

struct RuleContext {
  const Config& config;
  const std::string& path;
};

class Rule {
 public:
  virtual ~Rule() = default;
  virtual std::string_view id() const = 0;
  virtual std::string_view name() const = 0;
  virtual std::string_view description() const = 0;
  virtual bool is_error() const = 0;
  virtual std::vector<Diagnostic> check(const ParsedMigration& migration, const RuleContext& ctx) const = 0;
};

class ChangesetRule {
 public:
  virtual ~ChangesetRule() = default;
  virtual std::string_view id() const = 0;
  virtual std::string_view name() const = 0;
  virtual std::string_view description() const = 0;
  virtual bool is_error() const = 0;
  virtual std::vector<Diagnostic> check(const std::vector<const ParsedMigration*>& migrations,
                                        const std::vector<std::string>& changed_migrations,
                                        const std::vector<std::string>& changed_non_migrations,
                                        const Config& config) const = 0;
};

// The registries, in their fixed checking order.
std::vector<std::unique_ptr<Rule>> all_rules();
std::vector<std::unique_ptr<ChangesetRule>> changeset_rules();

}  // namespace tarn
