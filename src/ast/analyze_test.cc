#include "ast/analyze.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "ast/test_support.h"

namespace tarn {
namespace {

using testing::dump_migration;

std::string read_seed(const std::string& name) {
  std::ifstream in(std::string(TARN_SOURCE_DIR) + "/tests/fuzz/seeds/" + name, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  EXPECT_FALSE(text.str().empty()) << name;
  return text.str();
}

std::string analyzed(const std::string& path, const std::string& source) {
  auto result = parse_migration_source(path, source);
  if (!result.ok()) return "error: " + result.error().message();
  EXPECT_EQ(result->path, path);
  return dump_migration(*result);
}

// What makemigrations writes, and a hand-written migration using module
// variables, nesting, positional arguments and splats.
TEST(AnalyzeMigration, RealisticDjangoMigrations) {
  const std::pair<const char*, const char*> cases[] = {
      {"django_0001_initial.py",
       "framework Django\n"
       "class 8:0-81:5\n"
       "import 3:0-3:32 from=\"django.conf\" settings\n"
       "import 4:0-4:40 from=\"django.db\" migrations models\n"
       "import 5:0-5:32 from=- django.db.models.deletion\n"
       "CreateModel 17:8-37:9 name=\"Author\" old=-\n"
       "CreateModel 38:8-61:9 name=\"Book\" old=-\n"
       "AddField 62:8-70:9 model=\"book\" name=\"owner\" old=- new=- flags={fk,fk_class,db_constraint,null}\n"
       "AddIndex 71:8-74:9 model=\"book\"\n"
       "AddConstraint 75:8-80:9 model=\"book\" Unique\n"},
      {"django_0002_data.py",
       "framework Django\n"
       "class 19:0-48:5\n"
       "import 3:0-3:40 from=\"django.db\" migrations models\n"
       "import 7:4-7:37 from=\"library.utils\" slugify\n"
       "suppress 7 R011\n"
       "suppress 39 R003\n"
       "AlterField 26:8-30:9 model=\"author\" name=\"name\" old=- new=- flags={db_constraint,db_index}\n"
       "RunPython 31:8-31:49 code=\"forwards\" reverse=\"backwards\"\n"
       "RunSQL 32:8-38:9 sql=\"UPDATE library_book SET title = trim(title);\\n"
       "UPDATE library_book SET published = %s WHERE published IS NULL\" reverse=\"\"\n"
       "RunSQL 39:8-39:68 sql=\"CREATE EXTENSION IF NOT EXISTS pg_trgm;\" reverse=-\n"
       "AlterUniqueTogether 40:8-43:9 model=\"book\" entries\n"
       "RemoveField 44:8-47:9 model=\"book\" name=\"published\" old=- new=- flags=-\n"},
      // CREATE_INDEX is bound to a parenthesised expression, which is no
      // string literal: its SQL is unreadable.
      {"django_0003_hand_written.py",
       "framework Django\n"
       "class 19:0-40:5\n"
       "non_atomic\n"
       "import 1:0-1:40 from=\"django.db\" migrations models\n"
       "suppress 39 R005 R012\n"
       "SeparateDatabaseAndState 25:8-33:9 database=yes state=yes\n"
       "  RunSQL 27:16-27:59 sql=\"\" reverse=\"DROP INDEX CONCURRENTLY IF EXISTS book_title_idx;\"\n"
       "  SeparateDatabaseAndState 28:16-30:17 database=yes state=no\n"
       "    RunSQL 29:21-29:90 sql=\"SELECT 1\" reverse=\"\"\n"
       "AddField 34:8-34:102 model=\"book\" name=\"isbn\" old=- new=- flags={db_constraint,db_index,null}\n"
       "RenameField 35:8-35:55 model=\"book\" name=\"title\" old=\"title\" new=\"name\" flags=-\n"
       "RenameModel 36:8-36:48 name=\"Volume\" old=\"Book\"\n"
       "AlterModelTable 37:8-37:51 name=\"volume\" old=-\n"
       "RunPython 39:8-39:58 code=\"fill\" reverse=-\n"},
  };
  for (const auto& [name, expected] : cases) {
    EXPECT_EQ(analyzed(std::string("library/migrations/") + name, read_seed(name)), expected) << name;
  }
}

TEST(AnalyzeMigration, OtherFrameworksGoToTheirOwnDecoders) {
  EXPECT_EQ(analyzed("alembic/versions/3f2a_add.py", read_seed("alembic_add_column.py")),
            "framework Alembic\nclass -\nsuppress 33 R001\n"
            "CreateModel 20:4-25:5 name=\"owner\" old=- table=\"owner\".-\n"
            "AddField 26:4-30:5 model=\"book\" name=\"owner_id\" old=- new=- "
            "flags={fk,fk_class,db_constraint,null} table=\"book\".\"library\"\n"
            "AlterField 31:4-31:89 model=\"book\" name=\"title\" old=- new=- flags={db_constraint} table=\"book\".-\n"
            "AddIndexConcurrently 33:8-35:9 model=\"book\" table=\"book\".- context\n"
            "RawSql 36:4-36:68 sql=\"UPDATE book SET owner_id = NULL WHERE owner_id = 0\" reverse=-\n");
  EXPECT_EQ(analyzed("migrations/models/1_add.py", read_seed("aerich_1_add_index.py")),
            "framework Aerich\nclass -\nnon_atomic\nsuppress 16 R019\n"
            "AddField 7:11-10:56 model=\"book\" name=\"isbn\" old=- new=- flags={db_constraint,null} "
            "table=\"book\".- context\n"
            "AddIndexConcurrently 7:11-10:56 model=\"book\" table=\"book\".- context\n"
            "RawSql 7:11-10:56 sql=\"COMMENT ON COLUMN \\\"book\\\".\\\"isbn\\\" IS\" reverse=- context\n");
  // A Migration class in an Alembic file is not Django's.
  EXPECT_EQ(analyzed("db/migrations/versions/x.py",
                     "import os\nclass Migration:\n    atomic = False\n    operations = [RunSQL('x')]\n"),
            "framework Alembic\nclass -\n");
}

TEST(AnalyzeMigration, ModuleLevelEdgeCases) {
  const std::pair<const char*, const char*> cases[] = {
      {"", "framework Django\nclass -\n"},
      {"import os  # tarn: ignore R001\n", "framework Django\nclass -\nimport 1:0-1:9 from=- os\nsuppress 1 R001\n"},
      {"from ..models import Book as B, Author\nfrom . import *\nimport a.b as c, d\n",
       "framework Django\nclass -\n"
       "import 1:0-1:38 from=\"..models\" Book Author\n"
       "import 2:0-2:15 from=\".\" *\n"
       "import 3:0-3:18 from=- a.b d\n"},
      {"from x import (  # why\n    a,\n)\n", "framework Django\nclass -\nimport 1:0-3:1 from=\"x\" a\n"},
      {"class M:\n    def f(self):\n        import json\n",
       "framework Django\nclass -\nimport 3:8-3:19 from=- json\n"},
      {"if True:\n    class Migration:\n        operations = [f()]\n", "framework Django\nclass -\n"},
      {"@dataclass\nclass Migration:\n    operations = [f()]\n", "framework Django\nclass -\n"},
      {"class Migration:\n    pass\n", "framework Django\nclass 1:0-2:8\n"},
      {"class Migration:\n    operations = (migrations.AddField('m', 'f'), migrations.RemoveField('m', 'f'))\n",
       "framework Django\nclass 1:0-2:82\n"
       "AddField 2:18-2:47 model=\"m\" name=\"f\" old=- new=- flags=-\n"
       "RemoveField 2:49-2:81 model=\"m\" name=\"f\" old=- new=- flags=-\n"},
      {"base = [f()]\nclass Migration:\n    operations = base\n", "framework Django\nclass 2:0-3:21\n"},
      {"class Migration:\n    operations = [f()] + [g()]\n", "framework Django\nclass 1:0-2:30\n"},
      {"class Migration:\n    operations = [[f()], (g())]\n", "framework Django\nclass 1:0-2:31\n"},
      {"class Migration:\n    operations = f()\n", "framework Django\nclass 1:0-2:20\n"},
      {"class Migration:\n    operations: list\n    operations = [f()]\n", "framework Django\nclass 1:0-3:22\n"},
      {"class Migration:\n    operations += [f()]\n    operations = [g()]\n",
       "framework Django\nclass 1:0-3:22\nOther 3:18-3:21 empty\n"},
      {"class Migration:\n    operations = [f()]\n    operations = [g()]\n",
       "framework Django\nclass 1:0-3:22\nOther 2:18-2:21 empty\n"},
      {"class Migration:\n    operations = [f()]\nclass Migration:\n    operations = [g()]\n",
       "framework Django\nclass 1:0-2:22\nOther 2:18-2:21 empty\n"},
      {"class Migration:\n    atomic = True\n    atomic = False\n", "framework Django\nclass 1:0-3:18\nnon_atomic\n"},
      {"class Migration:\n    atomic = ((False))\n", "framework Django\nclass 1:0-2:22\nnon_atomic\n"},
      {"class Migration:\n    atomic = 'False'\n    atomic = 0\n    atomic = NO\n", "framework Django\nclass 1:0-4:15\n"},
      {"class Migration:\n    atomic: bool = False\n", "framework Django\nclass 1:0-2:24\nnon_atomic\n"},
      {"class Migration:\n    if x:\n        atomic = False\n", "framework Django\nclass 1:0-3:22\n"},
  };
  for (const auto& [source, expected] : cases) {
    EXPECT_EQ(analyzed("app/migrations/0001_x.py", source), expected) << source;
  }
  // Outside every layout a file is still analysed as Django.
  EXPECT_EQ(analyzed("scripts/fix.py", "class Migration:\n    atomic = False\n"),
            "framework Django\nclass 1:0-2:18\nnon_atomic\n");
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
  auto result = parse_migration_source("app/migrations/0001_x.py", source);
  ASSERT_TRUE(result.ok()) << result.error().message();
  std::string names;
  for (const ModuleImport& i : result->imports) names += i.names.at(0) + " ";
  EXPECT_EQ(names, "a1 b1 c1 d1 e1 e2 f1 e3 g1 g2 h1 i1 j1 k1 n1 ");
}

// Windows line endings: comment tokens end in "\r", which must not cost a
// suppression its id nor make "ignore" followed by nothing name one.
TEST(AnalyzeMigration, WindowsLineEndings) {
  const std::string source =
      "from django.db import migrations, models  # tarn: ignore R014\r\n"
      "from ..models import Book\r\n"
      "SQL = \"\"\"CREATE INDEX CONCURRENTLY i\r\n    ON t (c);\"\"\"\r\n"
      "class Migration(migrations.Migration):\r\n"
      "    atomic = False\r\n"
      "    operations = [\r\n"
      "        # tarn: ignore r013,\r\n"
      "        migrations.RunSQL(SQL),\r\n"
      "        migrations.AddField('book', 'isbn', models.CharField(null=True)),  # tarn: ignore\r\n"
      "    ]\r\n";
  EXPECT_EQ(analyzed("library/migrations/0004_x.py", source),
            "framework Django\n"
            "class 5:0-11:5\n"
            "non_atomic\n"
            "import 1:0-1:40 from=\"django.db\" migrations models\n"
            "import 2:0-2:25 from=\"..models\" Book\n"
            "suppress 1 R014\n"
            "suppress 8 R013\n"
            "RunSQL 9:8-9:30 sql=\"CREATE INDEX CONCURRENTLY i\\x0d\\n    ON t (c);\" reverse=-\n"
            "AddField 10:8-10:72 model=\"book\" name=\"isbn\" old=- new=- flags={db_constraint,null}\n");
}

TEST(ParseMigrationSource, Refusals) {
  std::string exact = "x = 1\n#";
  exact.resize(kMaxMigrationBytes, 'x');
  auto ok = parse_migration_source("big.py", exact);
  ASSERT_TRUE(ok.ok()) << ok.error().message();
  EXPECT_EQ(ok->framework, Framework::Django);

  exact.push_back('x');
  auto big = parse_migration_source("big.py", exact);
  ASSERT_FALSE(big.ok());
  EXPECT_EQ(big.error().kind, ErrorKind::FileTooLarge);
  EXPECT_EQ(big.error().message(), "File too large: big.py (10485761 bytes, max 10485760 bytes)");

  for (const char* broken : {"def f(:\n", "x = (1\n", "class Migration:\n    operations = [f(]\n", "x = 'a\n"}) {
    auto bad = parse_migration_source("app/migrations/0001_x.py", broken);
    ASSERT_FALSE(bad.ok()) << broken;
    EXPECT_EQ(bad.error().message(),
              "Failed to parse Python file: app/migrations/0001_x.py: syntax error in migration file");
  }

  auto deep = parse_migration_source("deep.py", "x = " + std::string(300, '[') + std::string(300, ']') + "\n");
  ASSERT_FALSE(deep.ok());
  EXPECT_EQ(deep.error().message(), "Failed to parse Python file: deep.py: AST nesting exceeds the maximum depth of 256");
}

}  // namespace
}  // namespace tarn
