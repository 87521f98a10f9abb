#include "main/main.h"

#include <gtest/gtest.h>

#include <new>
#include <stdexcept>
#include <string>

namespace tarn {
namespace {

std::string captured;
void capture(std::string_view text) { captured += text; }

TEST(RunGuarded, WhatEscapesEndsInOneFatalLineAndStatusTwo) {
  struct Case {
    int (*body)(int, char**);
    std::string err;
    int status;
  };
  const Case cases[] = {
      {[](int argc, char**) { return argc; }, "", 3},
      {[](int, char**) -> int { throw std::bad_alloc(); }, fatal_error_line("out of memory"), 2},
      {[](int, char**) -> int { throw std::runtime_error("bad\nthing"); },
       fatal_error_line("unexpected failure: bad\nthing"), 2},
      {[](int, char**) -> int { throw 42; }, fatal_error_line("unexpected failure"), 2},
  };
  for (const Case& c : cases) {
    captured.clear();
    EXPECT_EQ(run_guarded(c.body, 3, nullptr, capture), c.status);
    EXPECT_EQ(captured, c.err);
  }
}

}  // namespace
}  // namespace tarn
