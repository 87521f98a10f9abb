#include "rules/constraint_rules.h"

#include <gtest/gtest.h>

#include "rules/test_support.h"

namespace tarn {
namespace {

using namespace tarn::testing;
using CK = ConstraintKind;

TEST(R017, ByKindAndNotValid) {
  const std::vector<Operation> ops = {constraint_op("t", CK::ForeignKey, 1),
                                      constraint_op("t", CK::ForeignKey, 2, true),
                                      constraint_op("t", CK::Check, 3),
                                      constraint_op("t", CK::Check, 4, true),
                                      constraint_op("t", CK::Exclusion, 5),
                                      constraint_op("t", CK::Exclusion, 6, true),
                                      constraint_op("t", CK::Unique, 7),
                                      constraint_op("t", CK::Other, 8),
                                      on_table(model_op(K::CreateModel, "u", 9), "u"),
                                      on_table(constraint_op("u", CK::Check, 10), "u")};
  const auto rule = make_non_concurrent_add_constraint();
  // Django's AddConstraint has no NOT VALID form, so only SQL-level NOT VALID
  // foreign keys and checks are excused; EXCLUDE never is.
  EXPECT_EQ(lines_found(*rule, Framework::Django, ops), (Lines{1, 2, 3, 4, 5, 6}));
  for (Framework fw : {Framework::Alembic, Framework::Aerich})
    EXPECT_EQ(lines_found(*rule, fw, ops), (Lines{1, 3, 5, 6}));
}

}  // namespace
}  // namespace tarn
