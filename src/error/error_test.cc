#include "error/error.h"

#include <gtest/gtest.h>

#include "error/result.h"

namespace tarn {
namespace {

// Golden cases pin every message as the user sees it; these are the forms
// with more than one part.
TEST(ErrorMessage, ComposedTexts) {
  const std::pair<Error, std::string> rows[] = {
      {Error::file_too_large("a.py", 10485761, 10485760),
       "File too large: a.py (10485761 bytes, max 10485760 bytes)"},
      {Error::syntax_error("a.py", 3, 4), "Parse error in a.py at line 3, column 4"},
      {Error::unknown_rule("R999", {"R001", "R002"}), "Unknown rule: R999 (available rules: R001, R002)"},
      {Error::unknown_rule("R999", {}), "Unknown rule: R999 (available rules: )"},
      {Error::invalid_glob("[", "Pattern syntax error near position 0: invalid range pattern"),
       "Invalid glob pattern '[': Pattern syntax error near position 0: invalid range pattern"},
  };
  for (const auto& [error, message] : rows) EXPECT_EQ(error.message(), message);
}

TEST(ErrorMessage, PathBytesShownLossilyButKept) {
  const Error e = Error::invalid_path("dir/\xff\xfe.py");
  EXPECT_EQ(e.message(), "Invalid path: dir/\xEF\xBF\xBD\xEF\xBF\xBD.py");
  EXPECT_EQ(e.path, "dir/\xff\xfe.py");
}

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
