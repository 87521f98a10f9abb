#include "ast/suppression.h"

#include <gtest/gtest.h>

#include "ast/test_support.h"

namespace tarn {
namespace {

using Ids = std::optional<std::vector<std::string>>;

TEST(ParseSuppressionComment, Syntax) {
  const std::pair<const char*, Ids> cases[] = {
      {"# tarn:ignore\tR001,R002", Ids{{"R001", "R002"}}},
      {"# tarn: ignore ünï", Ids{{"üNï"}}},
      // U+00A0 is white space wherever white space is allowed.
      {"#\u00a0tarn\u00a0:\u00a0ignore\u00a0R001\u00a0,\u00a0R002\u00a0", Ids{{"R001", "R002"}}},
      {"# tarn: ignore:R001", std::nullopt},
      {"# tarn: ignore  , ,", std::nullopt},
      {"# tarn:", std::nullopt},
      {"", std::nullopt},
  };
  for (const auto& [text, ids] : cases) EXPECT_EQ(parse_suppression_comment(text), ids) << text;
}

TEST(CollectSuppressions, MapsLinesToSortedIdSets) {
  const auto parsed = testing::parse_source(
      "# tarn: ignore R003\n"                                   // 1
      "'''\n# tarn: ignore R009\n'''\n"                          // 2-4: a string, not a comment
      "class Migration:\n"                                      // 5
      "    operations = [  # tarn: ignore r002, R001, R002\n"   // 6
      "        f(  # tarn: ignore R004\n"                       // 7
      "            sql='# tarn: ignore R005',\n"                // 8
      "        ),\n"                                            // 9
      "    ]  # tarn: ignore R001\n"                            // 10
      "    # tarn: ignore R002 # tarn: ignore R006\n"           // 11: one comment token
      "x = 1  # tarn : ignore\n");                              // 12: names no id
  const SuppressionMap expected{
      {1, {"R003"}},
      {6, {"R001", "R002"}},
      {7, {"R004"}},
      {10, {"R001"}},
      {11, {"R002 # TARN: IGNORE R006"}},
  };
  EXPECT_EQ(collect_suppressions(parsed), expected);
}

}  // namespace
}  // namespace tarn
