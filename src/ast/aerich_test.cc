#include "ast/aerich.h"

#include <gtest/gtest.h>

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
