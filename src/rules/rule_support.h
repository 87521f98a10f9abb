// What every rule is built from: its fixed description, its texts per
// framework, and the one way findings are made (make_diagnostic).
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "rules/rule.h"

namespace tarn {

// The fixed texts a rule answers about itself.
struct RuleDescription {
  std::string_view id;
  std::string_view name;
  std::string_view description;
  bool is_error;  // default severity, for listing only
};

// Implements the descriptive operations of a Rule or ChangesetRule from a
// constant, leaving the rule's class to define only its check.
template <class Interface, const RuleDescription& About>
class DescribedRule : public Interface {
 public:
  std::string_view id() const final { return About.id; }
  std::string_view name() const final { return About.name; }
  std::string_view description() const final { return About.description; }
  bool is_error() const final { return About.is_error; }
};

// A rule's fixed message and help for one framework.
struct RuleText {
  std::string_view message;
  std::string_view help;
};

// A rule's texts per framework.
struct FrameworkTexts {
  RuleText django;
  RuleText alembic;
  RuleText aerich;

  constexpr const RuleText& operator[](Framework framework) const {
    switch (framework) {
      case Framework::Alembic:
        return alembic;
      case Framework::Aerich:
        return aerich;
      case Framework::Django:
        break;
    }
    return django;
  }
};

// A message template with its one "{}" replaced by `value`, taken literally.
inline std::string fill_template(std::string_view templ, std::string_view value) {
  auto at = templ.find("{}");
  if (at == std::string_view::npos) return std::string(templ);
  std::string out;
  out.reserve(templ.size() + value.size());
  out.append(templ.substr(0, at)).append(value).append(templ.substr(at + 2));
  return out;
}

// A new finding of `rule` (a Rule or a ChangesetRule, whose id and name are
// static texts the diagnostic refers to) with one of its texts; `name`, when
// given, fills the message's "{}".
template <class AnyRule>
Diagnostic make_diagnostic(const AnyRule& rule, Severity severity, std::string_view path, const Span& span,
                           const RuleText& text, std::optional<std::string_view> name = std::nullopt) {
  std::string message = name ? fill_template(text.message, *name) : std::string(text.message);
  return Diagnostic{rule.id(), rule.name(), std::move(message), severity, std::string(path), span, text.help};
}

// Where a finding about a whole file points: line 1, column 0.
inline constexpr Span kFileStartSpan{0, 0, 1, 0, 1, 0};

// Every operation a non-tracking rule tests, in source order: the database
// side of a SeparateDatabaseAndState stands in its place (to any depth), the
// wrapper itself is left out.
std::vector<const Operation*> tested_operations(const std::vector<Operation>& operations);

// What a rule finds in one operation or import: its text, and the name that
// fills the message's "{}".
struct Finding {
  RuleText text;
  std::optional<std::string_view> name = std::nullopt;
};

namespace detail {
template <class Item>
const Item& item_of(const Item& item) { return item; }
template <class Item>
const Item& item_of(const Item* item) { return *item; }
}  // namespace detail

// The findings of a rule that judges items one by one: one at each item
// (operation, pointer to one as tested_operations gives, or import) that
// `judge` returns a Finding for, in the order of `items`.
template <class Items, class Judge>
std::vector<Diagnostic> report_each(const Rule& rule, Severity severity, const RuleContext& ctx, const Items& items,
                                    Judge judge) {
  std::vector<Diagnostic> out;
  for (const auto& entry : items) {
    const auto& item = detail::item_of(entry);
    if (const std::optional<Finding> found = judge(item)) {
      out.push_back(make_diagnostic(rule, severity, ctx.path, item.span, found->text, found->name));
    }
  }
  return out;
}

}  // namespace tarn
