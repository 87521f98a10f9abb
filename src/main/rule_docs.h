// The rule table of --list-rules and the page of `tarn rule RULE_ID`.
#pragma once

#include <string>
#include <vector>

#include "error/result.h"
#include "rules/rule.h"

namespace tarn {

// One registered rule as listed; severity is the rule's default.
struct RuleInfo {
  std::string id;
  std::string name;
  Severity severity = Severity::Error;
  std::string description;
};

// Both registries' rules in ascending id order, each id once.
std::vector<RuleInfo> rule_infos();

Status print_rule_list();
void print_rule_page(const RuleInfo& info);

}  // namespace tarn
