#include "ast/aerich.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ast/decoder_testutil.h"

namespace tarn {
namespace {

using Strings = std::vector<std::string>;

constexpr const char* kPath = "migrations/models/3_20240502101407_update.py";

AerichAnalysis analyse(const std::string& text, const std::string& path = kPath) {
  const ParsedSource parsed = testutil::parse_source(text);
  return aerich_analysis(path, parsed);
}

Strings ops_of(const std::string& text, const std::string& path = kPath) {
  return testutil::summaries(analyse(text, path).operations);
}

TEST(AerichAnalysis, GeneratedMigration) {
  const std::string text = R"PY(from tortoise import BaseDBAsyncClient

RUN_IN_TRANSACTION = False


async def upgrade(db: BaseDBAsyncClient) -> str:
    return """
        ALTER TABLE "user" ADD "nickname" VARCHAR(64) NOT NULL DEFAULT '';
        CREATE INDEX CONCURRENTLY "idx_user_nicknam_4b6e4a" ON "user" ("nickname");
        ALTER TABLE "user" RENAME COLUMN "name" TO "username";
        ALTER TABLE "public"."order" ALTER COLUMN "total" TYPE NUMERIC(12,2) USING "total"::NUMERIC(12,2);
        -- the old index; superseded
        DROP INDEX IF EXISTS "idx_order_status";
        ALTER TABLE "order" ADD CONSTRAINT "fk_order_user_1a2b3c" FOREIGN KEY ("user_id") REFERENCES "user" ("id") ON DELETE CASCADE;
        COMMENT ON COLUMN "user"."nickname" IS 'Display name; shown publicly';"""


async def downgrade(db: BaseDBAsyncClient) -> str:
    return """
        ALTER TABLE "user" DROP COLUMN "nickname";"""


MODELS_STATE = (
    "eJztmG1v2jAQx7/KKa+2iVWBQiGb9gLaTkVqKQK6VauqyCRHiBacNHZWUNXvPtsQkgpCEW2X"
    "LGKvIHfn2P7/7uzzo+EFLvrsaOBRhwYhAz4JIzTszTAGHe06cHjqAA8b0yPkogxJAwRgNmvD"
)
)PY";
  const AerichAnalysis a = analyse(text);
  EXPECT_TRUE(a.non_atomic);
  EXPECT_EQ(testutil::summaries(a.operations),
            (Strings{
                "AddField @user model=user name=nickname {db_constraint,default} ctx",
                "AddIndexConcurrently @user model=user ctx",
                "RenameField @user model=user name=name old=name new=username ctx",
                "AlterField @public.order model=order name=total {db_constraint,null,type_changed} ctx",
                "RemoveIndex @- model= ctx",
                "AddConstraint @order model=order ForeignKey ctx",
                "RawSql @- sql=[COMMENT ON COLUMN \"user\".\"nickname\" IS] ctx",
            }));
  // Every record carries the span of the returned literal (line 7, column 11).
  for (const Operation& op : a.operations) {
    EXPECT_EQ(op.span.start_line, 7u);
    EXPECT_EQ(op.span.start_column, 11u);
    EXPECT_EQ(op.span.end_line, 15u);
  }
}

TEST(AerichAnalysis, InitialMigration) {
  const std::string text = R"PY(from tortoise import BaseDBAsyncClient


async def upgrade(db: BaseDBAsyncClient) -> str:
    return """
        CREATE TABLE IF NOT EXISTS "aerich" (
    "id" SERIAL NOT NULL PRIMARY KEY,
    "version" VARCHAR(255) NOT NULL,
    "app" VARCHAR(100) NOT NULL,
    "content" JSONB NOT NULL
);
CREATE TABLE IF NOT EXISTS "user" (
    "id" SERIAL NOT NULL PRIMARY KEY,
    "email" VARCHAR(255) NOT NULL UNIQUE
);
CREATE UNIQUE INDEX IF NOT EXISTS "uid_user_email_1b4f0e" ON "user" ("email");
COMMENT ON TABLE "user" IS 'Accounts';
COMMENT ON COLUMN "user"."email" IS 'Login';"""


async def downgrade(db: BaseDBAsyncClient) -> str:
    return """
        """
)PY";
  EXPECT_EQ(ops_of(text, "migrations/models/0_20240101000000_init.py"),
            (Strings{
                "CreateModel @aerich name=aerich ctx",
                "CreateModel @user name=user ctx",
                "AddIndex @user model=user ctx",
            }));
  // Outside the initial migration the tables may already exist and the comments are plain SQL.
  EXPECT_EQ(ops_of(text),
            (Strings{
                "CreateModel @- name=aerich ctx",
                "CreateModel @- name=user ctx",
                "AddIndex @user model=user ctx",
                "RawSql @- sql=[COMMENT ON TABLE \"user\" IS] ctx",
                "RawSql @- sql=[COMMENT ON COLUMN \"user\".\"email\" IS] ctx",
            }));
}

TEST(AerichAnalysis, WhereSqlTextsAreFound) {
  const struct {
    std::string text;
    Strings ops;
  } cases[] = {
      {"async def upgrade(db):\n    return 'DROP TABLE a'\n", {"DeleteModel @a name=a"}},
      {"async def upgrade(db):\n    return ('DROP TABLE a; ' 'DROP TABLE b')\n", {}},
      {"async def upgrade(db):\n    return 'DROP TABLE a; ' 'DROP TABLE b'\n",
       {"DeleteModel @a name=a ctx", "DeleteModel @b name=b ctx"}},
      {"async def upgrade(db):\n    return f'DROP TABLE {name}'\n", {}},
      {"async def upgrade(db):\n    return SQL\n", {}},
      {"async def upgrade(db):\n    return\n", {}},
      {"async def downgrade(db):\n    return 'DROP TABLE a'\n", {}},
      {"def upgrade(db):\n    return 'DROP TABLE a'\n", {"DeleteModel @a name=a"}},
      {"@wrap\nasync def upgrade(db):\n    return 'DROP TABLE a'\n", {}},
      // The later of two definitions is the one the module keeps.
      {"async def upgrade(db):\n    return 'DROP TABLE a'\nasync def upgrade(db):\n    return 'DROP TABLE b'\n",
       {"DeleteModel @b name=b"}},
      {"async def upgrade(db):\n"
       "    await execute_statement(db, 'CREATE INDEX CONCURRENTLY i ON t (c)')\n"
       "    await db.execute_statement(db, 'CREATE INDEX j ON t (c)')\n"
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
      // A return whose value is a call is not followed; the same call elsewhere is.
      {"def sql():\n    return 'DROP TABLE a'\n"
       "async def upgrade(db):\n    return sql()\n",
       {}},
      {"def sql():\n    return 'DROP TABLE a'\n"
       "async def upgrade(db):\n    await db.execute_script(sql())\n    return 'DROP TABLE b'\n",
       {"DeleteModel @a name=a", "DeleteModel @b name=b"}},
      // Dotted calls never name a module function.
      {"def sql():\n    return 'DROP TABLE a'\n"
       "async def upgrade(db):\n    self.sql()\n",
       {}},
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
  for (const auto& c : cases) EXPECT_EQ(ops_of(c.text), c.ops) << c.text;
}

TEST(AerichAnalysis, ConditionalTextsKeepNoNewTable) {
  const std::string create = "'CREATE TABLE IF NOT EXISTS t (id int)'";
  const std::string initial = "migrations/models/0_20240101000000_init.py";
  EXPECT_EQ(ops_of("async def upgrade(db):\n    return " + create + "\n", initial), Strings{"CreateModel @t name=t"});
  EXPECT_EQ(ops_of("async def upgrade(db):\n    if x:\n        return " + create + "\n", initial),
            Strings{"CreateModel @- name=t"});
  EXPECT_EQ(ops_of("async def upgrade(db):\n    with x:\n        return " + create + "\n", initial),
            Strings{"CreateModel @t name=t"});
  EXPECT_EQ(ops_of("async def upgrade(db):\n    try:\n        pass\n    except E:\n        return " + create + "\n",
                   initial),
            Strings{"CreateModel @- name=t"});

  // A helper reached first inside an if keeps that flag for its only walk.
  const std::string helper = "def make():\n    return 'CREATE TABLE t (id int)'\n";
  EXPECT_EQ(ops_of(helper + "async def upgrade(db):\n    if x:\n        make()\n    make()\n"),
            Strings{"CreateModel @- name=t"});
  EXPECT_EQ(ops_of(helper + "async def upgrade(db):\n    make()\n    if x:\n        make()\n"),
            Strings{"CreateModel @t name=t"});
}

TEST(AerichAnalysis, NonAtomicNeedsTheGeneratedFormat) {
  const struct {
    std::string module;
    bool non_atomic;
  } cases[] = {
      {"RUN_IN_TRANSACTION = False\n", false},
      {"MODELS_STATE = 'x'\nRUN_IN_TRANSACTION = False\n", true},
      {"RUN_IN_TRANSACTION = False\nMODELS_STATE = (\n    'a'\n    'b'\n)\n", true},
      {"MODELS_STATE = ''\nRUN_IN_TRANSACTION =  False  # no transaction\n", true},
      {"RUN_IN_TRANSACTION = False\nRUN_IN_TRANSACTION = True\nMODELS_STATE = ''\n", false},
      {"RUN_IN_TRANSACTION = True\nRUN_IN_TRANSACTION = False\nMODELS_STATE = ''\n", true},
      {"RUN_IN_TRANSACTION = (False)\nMODELS_STATE = ''\n", false},
      {"RUN_IN_TRANSACTION = 0\nMODELS_STATE = ''\n", false},
      {"MODELS_STATE = ''\n", false},
      {"if x:\n    MODELS_STATE = ''\nRUN_IN_TRANSACTION = False\n", false},
      {"MODELS_STATE: str\nRUN_IN_TRANSACTION = False\n", false},
      {"MODELS_STATE = ''\ndef f():\n    RUN_IN_TRANSACTION = False\n", false},
  };
  for (const auto& c : cases) EXPECT_EQ(analyse(c.module).non_atomic, c.non_atomic) << c.module;
}

TEST(AerichAnalysis, InitialMigrationName) {
  const struct {
    std::string path;
    bool initial;
  } cases[] = {
      {"migrations/models/0_20240101000000_init.py", true},
      {"0__init.py", true},
      {"/abs/migrations/app/0_x_init.py", true},
      {"migrations/models/1_20240101_init.py", false},
      {"migrations/models/0_init.py", false},
      {"migrations/models/0_x_init.PY", false},
      {"migrations/models/0_x_initial.py", false},
      {"migrations/models/", false},
      {"", false},
      {"..", false},
  };
  for (const auto& c : cases) EXPECT_EQ(is_initial_aerich_migration(c.path), c.initial) << c.path;
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
