#include "util/split.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace tarn {
namespace {

TEST(SplitAt, KeepsOrTrimsAndDropsPieces) {
  using V = std::vector<std::string_view>;
  struct Case {
    std::string text;
    Pieces pieces;
    V expected;
  };
  const Case cases[] = {
      {"", Pieces::All, {""}},
      {"a,,b,", Pieces::All, {"a", "", "b", ""}},
      {" a , b ", Pieces::All, {" a ", " b "}},
      {" , ,", Pieces::TrimmedNonEmpty, {}},
      {" a ,\t,b\xC2\xA0,", Pieces::TrimmedNonEmpty, {"a", "b"}},
      // U+200B is not white space, so the piece stays.
      {"a,\xE2\x80\x8B", Pieces::TrimmedNonEmpty, {"a", "\xE2\x80\x8B"}},
  };
  for (const Case& c : cases) EXPECT_EQ(split_at(c.text, ',', c.pieces), c.expected) << c.text;
  EXPECT_EQ(split_at("x; y;", ';'), (V{"x", " y", ""}));
}

}  // namespace
}  // namespace tarn
