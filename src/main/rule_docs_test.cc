#include "main/rule_docs.h"

#include <gtest/gtest.h>

namespace tarn {
namespace {

// The registry's ids all have one length and include a warning, so the
// padding rules below are only seen here.
TEST(RenderRuleList, ColumnsPaddedToTheLongestEntry) {
  const RuleInfo error{"R001", "non-concurrent-add-index", Severity::Error, "d1"};
  EXPECT_EQ(render_rule_list({error}, false), "R001  error  non-concurrent-add-index\n");
  EXPECT_EQ(render_rule_list({}, false), "");
  // The id's padding lies inside its style.
  const std::vector<RuleInfo> infos = {{"R1", "short", Severity::Warning, ""}, {"R0001", "long", Severity::Error, ""}};
  EXPECT_EQ(render_rule_list(infos, true),
            "\x1b[1;36mR1   \x1b[0m  warning  short\n"
            "\x1b[1;36mR0001\x1b[0m  error    long\n");
}

}  // namespace
}  // namespace tarn
