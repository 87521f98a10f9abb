#include "main/color.h"

#include <gtest/gtest.h>

namespace tarn {
namespace {

TEST(ColorDecision, EnvironmentBeforeTerminal) {
  struct Case {
    ColorEnvironment env;
    bool terminal;
    bool expected;
  };
  const Case cases[] = {
      {{}, true, true},
      {{.no_color = ""}, true, false},
      {{.clicolor = "1"}, false, false},
      // CLICOLOR only ever turns colour off, and only as "0".
      {{.clicolor = "1"}, true, true},
      {{.clicolor = "0"}, true, false},
      {{.clicolor_force = ""}, false, true},
      // Forcing wins over both ways of turning colour off.
      {{.clicolor_force = "1", .no_color = "1", .clicolor = "0"}, false, true},
      {{.clicolor_force = "0", .no_color = "1"}, true, false},
  };
  for (size_t i = 0; i < std::size(cases); ++i) {
    EXPECT_EQ(color_decision(cases[i].env, cases[i].terminal), cases[i].expected) << "case " << i;
  }
}

}  // namespace
}  // namespace tarn
