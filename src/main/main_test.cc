#include "main/main.h"

#include <gtest/gtest.h>

#include "main/color.h"

namespace tarn {
namespace {

TEST(FatalErrorLine, MessageStaysOnOneLine) {
  const std::string prefix = style("error", Color::Red, true) + ": ";
  EXPECT_EQ(fatal_error_line(Error::git("bad\nref\x1b[31m")), prefix + "Git error: bad\\x0aref\\x1b[31m\n");
  EXPECT_EQ(fatal_error_line(Error::invalid_path("a\tb")), prefix + "Invalid path: a\\x09b\n");
}

}  // namespace
}  // namespace tarn
