#include "ast/analyze.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "ast/test_support.h"

namespace tarn {
namespace {

using testing::Strings;

std::string read_seed(const std::string& name) {
  std::ifstream in(std::string(TARN_SOURCE_DIR) + "/tests/fuzz/analyze/" + name, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  EXPECT_FALSE(text.str().empty()) << name;
  return text.str();
}

Strings analyzed(const std::string& path, const std::string& source) {
  auto result = parse_migration(path, source, SyntaxErrorReport::Plain);
  if (!result.ok()) return {"error: " + result.error().message()};
  EXPECT_EQ(result->path, path);
  return testing::dump_migration(*result);
}

// Whole records with their spans, for a hand-written migration using module
// variables, nesting and positional arguments.
TEST(AnalyzeMigration, RealisticMigrations) {
  const std::tuple<std::string, const char*, Strings> cases[] = {
      // CREATE_INDEX is bound to a parenthesised literal: its value counts.
      {"library/migrations/0003_hand_written.py",
       "django_0003_hand_written.py",
       {"framework Django", "class 19:0-40:5", "non_atomic", "import 1:0-1:40 from=django.db migrations models",
        "suppress 39 R005 R012", "SeparateDatabaseAndState 25:8-33:9 database=yes state=yes",
        "  RunSQL 27:16-27:59 sql=[CREATE INDEX CONCURRENTLY IF NOT EXISTS book_title_idx ON library_book (title);] "
        "reverse=[DROP INDEX CONCURRENTLY IF EXISTS book_title_idx;]",
        "  SeparateDatabaseAndState 28:16-30:17 database=yes state=no",
        "    RunSQL 29:21-29:90 sql=[SELECT 1] reverse=[]",
        "AddField 34:8-34:102 model=book name=isbn {db_constraint,db_index,null}",
        "RenameField 35:8-35:55 model=book name=title old=title new=name",
        "RenameModel 36:8-36:48 name=Volume old=Book", "AlterModelTable 37:8-37:51 name=volume",
        "RunPython 39:8-39:58 code=[fill]"}},
  };
  for (const auto& [path, seed, expected] : cases) EXPECT_EQ(analyzed(path, read_seed(seed)), expected) << seed;
  // A Migration class in an Alembic file is not Django's.
  EXPECT_EQ(analyzed("db/migrations/versions/x.py",
                     "import os\nclass Migration:\n    atomic = False\n    operations = [RunSQL('x')]\n"),
            (Strings{"framework Alembic", "class -"}));
}

TEST(AnalyzeMigration, ImportsInEveryKindOfBlock) {
  const char* source =
      "if a:\n    import a1\nelif b:\n    import b1\nelse:\n    import c1\n"
      "try:\n    import d1\nexcept ImportError:\n    import e1\nelse:\n    import e2\nfinally:\n    import f1\n"
      "try:\n    pass\nexcept* E:\n    import e3\n"
      "with x:\n    for i in y:\n        while z:\n            import g1\n        else:\n            import g2\n"
      "match v:\n    case 1:\n        import h1\n"
      "@deco\ndef f():\n    import i1\n"
      "class C:\n    async def g(): import j1\n"
      "x = lambda: 1; import k1\n"
      "if q: from m import n1\n";
  auto result = parse_migration("app/migrations/0001_x.py", source, SyntaxErrorReport::Plain);
  ASSERT_TRUE(result.ok()) << result.error().message();
  std::string names;
  for (const ModuleImport& i : result->imports) names += i.names.at(0) + " ";
  EXPECT_EQ(names, "a1 b1 c1 d1 e1 e2 f1 e3 g1 g2 h1 i1 j1 k1 n1 ");
}

}  // namespace
}  // namespace tarn
