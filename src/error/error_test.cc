#include "error/error.h"

#include <gtest/gtest.h>

#include "error/result.h"

namespace tarn {
namespace {

Result<int> half(int v) {
  if (v % 2) return Error::cli_usage("odd");
  return v / 2;
}

Result<int> quarter(int v) {
  TRY_ASSIGN(const int h, half(v));
  TRY_ASSIGN(const int q, half(h));
  return q;
}

TEST(ResultMacros, ReturnTheFirstError) {
  EXPECT_EQ(*quarter(8), 2);
  const auto failed = quarter(6);
  ASSERT_FALSE(failed.ok());
  EXPECT_EQ(failed.error().message(), "CLI usage error: odd");
}

}  // namespace
}  // namespace tarn
