#include "main/rule_docs.h"

#include <gtest/gtest.h>

namespace tarn {
namespace {

TEST(RuleInfos, SortedByIdWithDefaults) {
  const auto infos = rule_infos();
  ASSERT_FALSE(infos.empty());
  for (size_t i = 1; i < infos.size(); ++i) EXPECT_LT(infos[i - 1].id, infos[i].id);
  EXPECT_EQ(infos.front().id, "R001");
  EXPECT_EQ(infos.front().name, "non-concurrent-add-index");
  EXPECT_EQ(infos.front().severity, Severity::Error);
  EXPECT_EQ(infos.front().description.rfind("AddIndex takes an exclusive lock", 0), 0u);
}

const std::vector<RuleInfo> kInfos = {
    {"R001", "non-concurrent-add-index", Severity::Error, "d1"},
    {"R012", "irreversible-run-python", Severity::Warning, "d12"},
    {"R018", "implicit-django-index", Severity::Error, "d18"},
};

TEST(RenderRuleList, SeverityPaddedToTheLongestWord) {
  EXPECT_EQ(render_rule_list(kInfos, false),
            "R001  error    non-concurrent-add-index\n"
            "R012  warning  irreversible-run-python\n"
            "R018  error    implicit-django-index\n");
  EXPECT_EQ(render_rule_list({kInfos[0]}, false), "R001  error  non-concurrent-add-index\n");
  EXPECT_EQ(render_rule_list({}, false), "");
}

TEST(RenderRuleList, IdPaddingLiesInsideTheStyle) {
  const std::vector<RuleInfo> infos = {{"R1", "short", Severity::Warning, ""}, {"R0001", "long", Severity::Error, ""}};
  EXPECT_EQ(render_rule_list(infos, true),
            "\x1b[1;36mR1   \x1b[0m  warning  short\n"
            "\x1b[1;36mR0001\x1b[0m  error    long\n");
}

TEST(RenderRulePage, Golden) {
  EXPECT_EQ(render_rule_page(kInfos[1], false),
            "R012\n"
            "Name: irreversible-run-python\n"
            "Severity: warning\n"
            "\n"
            "d12\n");
  EXPECT_EQ(render_rule_page(kInfos[0], true),
            "\x1b[1;36mR001\x1b[0m\n"
            "\x1b[1mName\x1b[0m: non-concurrent-add-index\n"
            "\x1b[1mSeverity\x1b[0m: error\n"
            "\n"
            "d1\n");
}

}  // namespace
}  // namespace tarn
