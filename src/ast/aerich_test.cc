#include "ast/aerich.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ast/test_support.h"

namespace tarn {
namespace {

using testing::Strings;

constexpr const char* kPath = "migrations/models/3_20240502101407_update.py";
constexpr const char* kInitial = "migrations/models/0_20240101000000_init.py";

AerichAnalysis analyse(const std::string& text, const std::string& path = kPath) {
  return aerich_analysis(path, testing::parse_source(text));
}

Strings ops_of(const std::string& text, const std::string& path = kPath) {
  return testing::summaries(analyse(text, path).operations);
}

TEST(AerichAnalysis, WhereSqlTextsAreFound) {
  const std::pair<std::string, Strings> cases[] = {
      {"async def upgrade(db):\n    return ('DROP TABLE a; ' 'DROP TABLE b')\n", {}},
      {"async def upgrade(db):\n    return 'DROP TABLE a; ' 'DROP TABLE b'\n",
       {"DeleteModel @a name=a ctx", "DeleteModel @b name=b ctx"}},
      {"async def upgrade(db):\n    return f'DROP TABLE {name}'\n", {}},
      {"def upgrade(db):\n    return 'DROP TABLE a'\n", {"DeleteModel @a name=a"}},
      {"@wrap\nasync def upgrade(db):\n    return 'DROP TABLE a'\n", {}},
      {"async def upgrade(db):\n"
       "    await execute_statement(db, 'CREATE INDEX CONCURRENTLY i ON t (c)')\n"
       "    await execute_statement('CREATE INDEX k ON t (c)')\n"
       "    await execute_statement(db, SQL)\n"
       "    return ''\n",
       {"AddIndexConcurrently @t model=t"}},
      // Nested definitions are not part of the walk.
      {"async def upgrade(db):\n"
       "    def inner():\n        return 'DROP TABLE a'\n"
       "    class Holder:\n        def m(self):\n            return 'DROP TABLE b'\n"
       "    f = lambda: execute_statement(db, 'DROP TABLE c')\n"
       "    return 'DROP TABLE d'\n",
       {"DeleteModel @d name=d"}},
      // A module function called from upgrade is walked; a dotted call never names one.
      {"def sql():\n    return 'DROP TABLE a'\n"
       "async def upgrade(db):\n    await db.execute_script(sql())\n    return 'DROP TABLE b'\n",
       {"DeleteModel @a name=a", "DeleteModel @b name=b"}},
      {"def sql():\n    return 'DROP TABLE a'\nasync def upgrade(db):\n    self.sql()\n", {}},
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

TEST(AerichAnalysis, ConditionalTextsKeepNoNewTable) {
  const std::string create = "'CREATE TABLE IF NOT EXISTS t (id int)'";
  const std::pair<std::string, const char*> cases[] = {
      {"    with x:\n        return " + create + "\n", "CreateModel @t name=t"},
      {"    if x:\n        return " + create + "\n", "CreateModel name=t"},
      {"    try:\n        pass\n    except E:\n        return " + create + "\n", "CreateModel name=t"},
  };
  for (const auto& [body, op] : cases) EXPECT_EQ(ops_of("async def upgrade(db):\n" + body, kInitial), Strings{op});
  // A helper reached first unconditionally is new-table certain for its only walk.
  EXPECT_EQ(ops_of("def make():\n    return 'CREATE TABLE t (id int)'\n"
                   "async def upgrade(db):\n    make()\n    if x:\n        make()\n"),
            Strings{"CreateModel @t name=t"});
}

TEST(AerichAnalysis, NonAtomicNeedsTheGeneratedFormat) {
  const std::pair<std::string, bool> cases[] = {
      {"RUN_IN_TRANSACTION = False\n", false},
      {"RUN_IN_TRANSACTION = False\nMODELS_STATE = (\n    'a'\n    'b'\n)\n", true},
      {"MODELS_STATE = ''\nRUN_IN_TRANSACTION =  False  # no transaction\n", true},
      {"RUN_IN_TRANSACTION = True\nRUN_IN_TRANSACTION = False\nMODELS_STATE = ''\n", true},
      {"RUN_IN_TRANSACTION = 0\nMODELS_STATE = ''\n", false},
      {"if x:\n    MODELS_STATE = ''\nRUN_IN_TRANSACTION = False\n", false},
      {"MODELS_STATE: str\nRUN_IN_TRANSACTION = False\n", false},
      {"MODELS_STATE = ''\ndef f():\n    RUN_IN_TRANSACTION = False\n", false},
  };
  for (const auto& [module, non_atomic] : cases) EXPECT_EQ(analyse(module).non_atomic, non_atomic) << module;
}

TEST(AerichAnalysis, InitialMigrationName) {
  const std::pair<const char*, bool> cases[] = {
      {kInitial, true},
      {"0__init.py", true},
      {"/abs/migrations/app/0_x_init.py", true},
      {"migrations/models/1_20240101_init.py", false},
      {"migrations/models/0_init.py", false},
      {"migrations/models/0_x_init.PY", false},
      {"migrations/models/0_x_initial.py", false},
      {"migrations/models/", false},
      {"..", false},
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
