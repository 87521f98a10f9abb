#include "error/error.h"

#include <gtest/gtest.h>

#include "error/result.h"

namespace tarn {
namespace {

TEST(ErrorMessage, EveryVariant) {
  const std::pair<Error, std::string> rows[] = {
      {Error::read_file("a.py", "EACCES"), "Failed to read file: a.py"},
      {Error::walk_dir("app", "loop"), "Failed to walk directory: app"},
      {Error::file_too_large("a.py", 10485761, 10485760),
       "File too large: a.py (10485761 bytes, max 10485760 bytes)"},
      {Error::parse_failed("a.py", "tree-sitter failed to parse"),
       "Failed to parse Python file: a.py: tree-sitter failed to parse"},
      {Error::syntax_error("a.py", 3, 4), "Parse error in a.py at line 3, column 4"},
      {Error::config_parse("dir/pyproject.toml", "expected a table"),
       "Failed to parse configuration: dir/pyproject.toml"},
      {Error::git("boom"), "Git error: boom"},
      {Error::invalid_git_ref("origin/main"),
       "Invalid git reference: origin/main. Specify a valid branch, tag, or commit SHA; for origin/* refs, fetch "
       "the remote first (shallow checkouts may omit them)"},
      {Error::cli_usage("--list-rules cannot be combined with paths or linting flags"),
       "CLI usage error: --list-rules cannot be combined with paths or linting flags"},
      {Error::unknown_rule("R999", {"R001", "R002"}), "Unknown rule: R999 (available rules: R001, R002)"},
      {Error::unknown_rule("R999", {}), "Unknown rule: R999 (available rules: )"},
      {Error::invalid_path("nope"), "Invalid path: nope"},
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
