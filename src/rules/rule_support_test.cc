#include "rules/rule_support.h"

#include <gtest/gtest.h>

#include "rules/test_support.h"

namespace tarn {
namespace {

using namespace tarn::testing;

Operation other(uint64_t line) { return make_op(K::Other, payload::Empty{}, line); }

TEST(TestedOperations, NestedDatabaseOperationsStandInPlaceOfTheirWrapper) {
  const std::vector<Operation> ops = {other(1),
                                      separate_op({other(2), separate_op({other(3)}, true, 90), other(4)}, false, 91),
                                      separate_op({}, true, 92), other(5)};
  Lines lines;
  for (const Operation* op : tested_operations(ops)) lines.push_back(op->span.start_line);
  EXPECT_EQ(lines, (Lines{1, 2, 3, 4, 5}));
}

}  // namespace
}  // namespace tarn
