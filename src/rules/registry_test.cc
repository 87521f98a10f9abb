#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "rules/rule.h"

namespace tarn {
namespace {

// The fixed checking order.
const std::vector<std::string> kPerFileOrder = {"R001", "R002", "R003", "R004", "R005", "R006", "R010", "R011",
                                                "R012", "R013", "R014", "R015", "R016", "R017", "R018", "R019"};
const std::vector<std::string> kChangesetOrder = {"R008", "R009"};
const std::set<std::string> kWarningRules = {"R012", "R013", "R015"};

template <class Rules>
std::vector<std::string> ids_of(const Rules& rules) {
  std::vector<std::string> ids;
  for (const auto& rule : rules) ids.emplace_back(rule->id());
  return ids;
}

TEST(Registry, PerFileRulesFollowTheFixedOrder) { EXPECT_EQ(ids_of(all_rules()), kPerFileOrder); }

TEST(Registry, ChangesetRulesFollowTheFixedOrder) { EXPECT_EQ(ids_of(changeset_rules()), kChangesetOrder); }

TEST(Registry, DefaultSeverityAndNames) {
  for (const auto& rule : all_rules()) {
    SCOPED_TRACE(std::string(rule->id()));
    EXPECT_EQ(rule->is_error(), kWarningRules.count(std::string(rule->id())) == 0);
    EXPECT_FALSE(rule->name().empty());
    EXPECT_FALSE(rule->description().empty());
  }
  for (const auto& rule : changeset_rules()) EXPECT_TRUE(rule->is_error());
}

}  // namespace
}  // namespace tarn
