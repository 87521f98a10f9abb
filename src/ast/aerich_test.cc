#include "ast/aerich.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "ast/test_support.h"

namespace tarn {
namespace {

using testing::Strings;

Strings ops_of(const std::string& text) {
  return testing::summaries(
      aerich_analysis("migrations/models/3_20240502101407_update.py", testing::parse_source(text)).operations);
}

// Where the SQL texts of upgrade are found, beyond what golden cases show.
TEST(AerichAnalysis, WalkOrderAndConcatenation) {
  const std::pair<std::string, Strings> cases[] = {
      // Implicit concatenation outside parentheses is still one text.
      {"async def upgrade(db):\n    return 'DROP TABLE a; ' 'DROP TABLE b'\n",
       {"DeleteModel @a name=a ctx", "DeleteModel @b name=b ctx"}},
      // A function passed by name is walked at the call, before the call's own arguments.
      {"def step():\n    return 'DROP TABLE a'\n"
       "async def upgrade(db):\n    await run(db, execute_statement(db, 'DROP TABLE b'), step)\n",
       {"DeleteModel @a name=a", "DeleteModel @b name=b"}},
      // Calls back into upgrade and between helpers are walked once.
      {"def a():\n    b()\n    return 'DROP TABLE a'\n"
       "def b():\n    a()\n    upgrade()\n    return 'DROP TABLE b'\n"
       "async def upgrade(db):\n    a()\n    b()\n    a()\n",
       {"DeleteModel @b name=b", "DeleteModel @a name=a"}},
  };
  for (const auto& [text, ops] : cases) EXPECT_EQ(ops_of(text), ops) << text;
}

// execute_statement and module functions are known by the bare name Python
// calls, however it is spelled.
TEST(AerichAnalysis, CalleeSpellings) {
  const std::string helper = "def helper():\n    return 'DROP TABLE b'\n";
  const std::pair<std::string, Strings> cases[] = {
      {"(execute_statement)(db, 'DROP TABLE a')", {"DeleteModel @a name=a"}},
      {"(  # runs the text\n        execute_statement)(db, 'DROP TABLE a')", {"DeleteModel @a name=a"}},
      {"(helper)()", {"DeleteModel @b name=b"}},
      {"db.execute_statement(db, 'DROP TABLE a')", {}},
      {"run_execute_statement(db, 'DROP TABLE a')", {}},
      {"execute_statement()(db, 'DROP TABLE a')", {}},
      {"self.helper()", {}},
  };
  for (const auto& [call, ops] : cases)
    EXPECT_EQ(ops_of(helper + "async def upgrade(db):\n    await " + call + "\n"), ops) << call;
}

// The walk names every call, so a call must be named in a bounded number of
// steps, however long the chain beneath it: otherwise each link of a chain
// would walk the rest of it, and chains eight times longer would take some
// sixty times the steps. Counted, not timed.
TEST(AerichAnalysis, NamingEveryCallOfAChainStaysLinear) {
  struct Work {
    uint64_t steps;
    size_t bytes;
  };
  const auto analyse = [](int links) {
    std::string text = "def helper():\n    return 'DROP TABLE b'\nasync def upgrade(db):\n";
    for (int line = 0; line < 50; ++line) {
      std::string methods = "    await helper()", calls = "    f";
      for (int i = 0; i < links; ++i) {
        methods += ".m" + std::to_string(i) + "()";
        calls += "()";
      }
      text += methods + "\n" + calls + "\n";
    }
    text += "    return 'DROP TABLE a'\n";
    const ParsedSource parsed = testing::parse_source(text);
    const uint64_t before = callee_name_steps();
    const Strings ops = testing::summaries(aerich_analysis("migrations/models/3_x.py", parsed).operations);
    const Work work{callee_name_steps() - before, text.size()};
    EXPECT_EQ(ops, (Strings{"DeleteModel @b name=b", "DeleteModel @a name=a"})) << links;
    return work;
  };
  const Work short_chains = analyse(12), long_chains = analyse(96);
  ASSERT_GT(short_chains.steps, 0u);
  const double short_rate = double(short_chains.steps) / double(short_chains.bytes);
  const double long_rate = double(long_chains.steps) / double(long_chains.bytes);
  EXPECT_LE(long_rate, 1.25 * short_rate) << short_chains.steps << " " << long_chains.steps;
}

TEST(AerichAnalysis, InitialMigrationName) {
  const std::pair<const char*, bool> cases[] = {
      {"/abs/migrations/app/0_x_init.py", true},
      {"migrations/models/1_20240101_init.py", false},
      {"0__init.py", true},
      {"migrations/models/0_x_init.PY", false},
  };
  for (const auto& [path, initial] : cases) EXPECT_EQ(is_initial_aerich_migration(path), initial) << path;
}

TEST(AerichAnalysis, LongChainsOfHelpersDoNotExhaustTheStack) {
  // upgrade -> f0 -> f1 -> ... -> fN, each also calling back to f0.
  constexpr int kDepth = 20000;
  std::string text = "async def upgrade(db):\n    f0()\n";
  for (int i = 0; i < kDepth; ++i) {
    text += "def f" + std::to_string(i) + "():\n    f0()\n";
    if (i + 1 < kDepth) text += "    f" + std::to_string(i + 1) + "()\n";
  }
  text += "    return 'DROP TABLE last'\n";
  EXPECT_EQ(ops_of(text), Strings{"DeleteModel @last name=last"});
}

}  // namespace
}  // namespace tarn
