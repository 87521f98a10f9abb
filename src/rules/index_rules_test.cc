#include "rules/index_rules.h"

#include <gtest/gtest.h>

#include "rules/test_support.h"

namespace tarn {
namespace {

using namespace tarn::testing;

TEST(IndexRules, EachReportsItsPlainKindOnExistingTables) {
  const std::vector<Operation> ops = {index_op(K::AddIndexConcurrently, "book", 1),
                                      index_op(K::RemoveIndexConcurrently, "book", 2),
                                      index_op(K::AddIndex, "book", 3),
                                      index_op(K::RemoveIndex, "book", 4),
                                      model_op(K::CreateModel, "Shelf", 5),
                                      index_op(K::AddIndex, "shelf", 6),
                                      index_op(K::RemoveIndex, "shelf", 7)};
  EXPECT_EQ(lines_found(*make_non_concurrent_add_index(), Framework::Django, ops), (Lines{3}));
  EXPECT_EQ(lines_found(*make_non_concurrent_remove_index(), Framework::Django, ops), (Lines{4}));
}

}  // namespace
}  // namespace tarn
