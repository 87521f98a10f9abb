#include "ast/sql_scan.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ast/decoder_testutil.h"

namespace tarn {
namespace {

using testutil::summaries;
using Strings = std::vector<std::string>;

TEST(StripSqlComments, Table) {
  const struct {
    std::string in, out;
  } cases[] = {
      {"a -- x\nb", "a \nb"},
      {"a /* x */ b", "a   b"},
      {"'it''s'", " "},
      {"x'a'y'b'z", "x y z"},
      {"a - b / c", "a - b / c"},
      {"-", "-"},
      {"/", "/"},
      {"a -- x", "a "},
      {"--", ""},
      {"a /* x", "a  "},
      {"/*/ x", " "},
      {"/* a */* b */", " * b */"},
      {"'abc", " "},
      {"'a--b' -- c\nd", "  \nd"},
      {"'a;b'; c", " ; c"},
      {"\"a--b\"\nc", "\"a\nc"},
      {"$$ a; b $$", "$$ a; b $$"},
      {"\xC3\xA9 -- x\n\xC3\xBC", "\xC3\xA9 \n\xC3\xBC"},
      {"", ""},
  };
  for (const auto& c : cases) EXPECT_EQ(strip_sql_comments(c.in), c.out) << c.in;
}

TEST(SqlWordsUpper, Table) {
  const struct {
    std::string in;
    Strings words;
  } cases[] = {
      {"", {}},
      {" ;() ", {}},
      {"create index_x ON t(c)", {"CREATE", "INDEX_X", "ON", "T", "C"}},
      {"\"Order\".id", {"ORDER", "ID"}},
      {"a-b  c9", {"A", "B", "C9"}},
      // Non-ASCII characters separate words and are never case-mapped.
      {"\xC3\xBCn\xC3\xAF_a1", {"N", "_A1"}},
  };
  for (const auto& c : cases) EXPECT_EQ(sql_words_upper(c.in), c.words) << c.in;
}

TEST(IndexPredicates, CreateIndex) {
  const struct {
    std::string in;
    bool create;
    bool drop;
  } cases[] = {
      {"create index i on t (c)", true, false},
      {"CREATE UNIQUE INDEX i ON t (c)", true, false},
      {"CREATE \n  INDEX", true, false},
      {"CREATEINDEXES", true, false},
      {"CREATEINDEX", true, false},
      {"CREATEINDE x", false, false},
      {"createuniqueindex_x on t", true, false},
      {"CREATE_INDEX i", false, false},
      {"CREATE UNIQUE i", false, false},
      {"CREATE", false, false},
      {"CREATE TABLE t", false, false},
      {"x CREATE INDEX", false, false},
      {"", false, false},
      {"  ;", false, false},
      {"drop index i", false, true},
      {"DROP INDEX CONCURRENTLY IF EXISTS i", false, true},
      {"DROPINDEXES", false, true},
      {"DROPINDEX", false, true},
      {"DROPINDE", false, false},
      {"DROP", false, false},
      {"DROP TABLE t", false, false},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(is_create_index_sql(c.in), c.create) << c.in;
    EXPECT_EQ(is_drop_index_sql(c.in), c.drop) << c.in;
  }
}

TEST(SqlStatements, SplitTrimAndDropEmpty) {
  const struct {
    std::string in;
    std::vector<std::string_view> out;
  } cases[] = {
      {"a; b ;; c", {"a", "b", "c"}},
      {" ; \n ", {}},
      {"", {}},
      {"a", {"a"}},
      {"\xC2\xA0" "a b\xE3\x80\x80;", {"a b"}},
  };
  for (const auto& c : cases) EXPECT_EQ(sql_statements(c.in), c.out) << c.in;
}

TEST(SqlPhrases, StartsContainsKeyword) {
  EXPECT_TRUE(sql_starts_with_phrase("alter  table t", {"ALTER", "TABLE"}));
  EXPECT_FALSE(sql_starts_with_phrase("ALTER", {"ALTER", "TABLE"}));
  EXPECT_FALSE(sql_starts_with_phrase("ALTER TABLES t", {"ALTER", "TABLE"}));
  EXPECT_FALSE(sql_starts_with_phrase("x ALTER TABLE", {"ALTER", "TABLE"}));

  EXPECT_TRUE(sql_contains_phrase("ALTER TABLE t ALTER COLUMN c TYPE int", {"ALTER", "COLUMN", "TYPE"}));
  EXPECT_TRUE(sql_contains_phrase("ADD COLUMN IF NOT EXISTS c text NULL", {"NOT", "NULL"}));
  EXPECT_FALSE(sql_contains_phrase("NULL NOT", {"NOT", "NULL"}));
  EXPECT_FALSE(sql_contains_phrase("NOT_NULL", {"NOT", "NULL"}));
  EXPECT_FALSE(sql_contains_phrase("", {"NOT"}));

  EXPECT_TRUE(sql_contains_keyword("a references b", "REFERENCES"));
  EXPECT_FALSE(sql_contains_keyword("unique_code text", "UNIQUE"));
  EXPECT_TRUE(sql_contains_keyword("\"unique\"", "UNIQUE"));
}

TEST(SqlParseIdentifier, Table) {
  const struct {
    std::string in;
    bool found;
    std::string name, rest;
  } cases[] = {
      {"abc def", true, "abc", " def"},
      {"\"Order\".x", true, "Order", ".x"},
      {"\"a b\"\"c\"", true, "a b", "\"c\""},
      {"\"\" x", true, "", " x"},
      {"a\"b\"", true, "a", "\"b\""},
      {"\"abc", false, "", ""},
      {"", false, "", ""},
      {" x", false, "", ""},
      {"(x", false, "", ""},
  };
  for (const auto& c : cases) {
    auto id = sql_parse_identifier(c.in);
    ASSERT_EQ(id.has_value(), c.found) << c.in;
    if (!id) continue;
    EXPECT_EQ(id->name, c.name) << c.in;
    EXPECT_EQ(id->rest, c.rest) << c.in;
  }
}

// "schema.name", "name", or "none".
std::string ref_label(const std::optional<TableRef>& ref) {
  if (!ref) return "none";
  return (ref->schema ? *ref->schema + "." : "") + ref->name;
}

TEST(SqlSkipIfExists, Table) {
  const struct {
    std::string in, out;
  } cases[] = {
      {"  IF NOT EXISTS t (id int)", "t"},
      {"if exists s.t", "s.t"},
      {"NOT t", "t"},
      {"EXISTS t", "t"},
      // Each word is tested once, in order: IF after EXISTS is a name.
      {"EXISTS IF t", "IF"},
      {"IFX t", "IFX"},
      {"s . \"T\" rest", "s.T"},
      {"\"public\".\"user\"", "public.user"},
      {"s.", "none"},
      {"s.(x)", "none"},
      {"IF NOT EXISTS", "none"},
      {"(id int)", "none"},
      {"\xC2\xA0t", "t"},
  };
  for (const auto& c : cases) EXPECT_EQ(ref_label(sql_skip_if_exists(c.in)), c.out) << c.in;
}

TEST(SqlTextAfterPhrase, Table) {
  const struct {
    std::string stmt, keyword, out;
  } cases[] = {
      {"CREATE INDEX i ON t (c)", "ON", "t"},
      {"CREATE TABLE_X TABLE y", "TABLE", "y"},
      {"drop table if exists s.t cascade", "TABLE", "s.t"},
      {"ALTER TABLE t", "COLUMN", "none"},
      {"x ON", "ON", "none"},
      {"ON_x ON \"a b\"", "ON", "a b"},
      // The first whole-word occurrence decides even when no name follows it.
      {"RENAME TO (x) TO y", "TO", "none"},
  };
  for (const auto& c : cases) EXPECT_EQ(ref_label(sql_text_after_phrase(c.stmt, c.keyword)), c.out) << c.stmt;
}

TEST(SqlParseAddClause, Table) {
  const struct {
    std::string stmt;
    std::optional<std::string> column;
  } cases[] = {
      {"ALTER TABLE t ADD COLUMN c int", "c"},
      {"ALTER TABLE t add c int", "c"},
      {"ALTER TABLE t ADD COLUMN IF NOT EXISTS \"C\" int", "C"},
      {"ALTER TABLE t ADD COLUMNS int", "COLUMNS"},
      {"ALTER TABLE t ADD COLUMN s.c int", "c"},
      {"ALTER TABLE address ADD x int", "x"},
      {"ALTER TABLE t ADD CONSTRAINT x UNIQUE (a)", std::nullopt},
      {"ALTER TABLE t add unique (a)", std::nullopt},
      {"ALTER TABLE t ADD PRIMARY KEY (id)", std::nullopt},
      {"ALTER TABLE t ADD FOREIGN KEY (a) REFERENCES u", std::nullopt},
      {"ALTER TABLE t ADD CHECK (a > 0)", std::nullopt},
      {"ALTER TABLE t ADD EXCLUDE USING gist (r WITH &&)", std::nullopt},
      {"ALTER TABLE t ADD", std::nullopt},
      {"ALTER TABLE t DROP c", std::nullopt},
  };
  for (const auto& c : cases) EXPECT_EQ(sql_parse_add_clause(c.stmt), c.column) << c.stmt;
}

TEST(SqlEndsWithNotValid, Table) {
  const struct {
    std::string stmt;
    bool out;
  } cases[] = {
      {"ALTER TABLE t ADD CONSTRAINT c CHECK (x) NOT VALID", true},
      {"x not valid  \n", true},
      {"x\tNOT VALID", true},
      {"x\xC2\xA0NOT VALID", true},
      {"x\xE3\x80\x80NOT VALID", true},
      {"\xC3\xA9 NOT VALID", true},
      {"\xC3\xA9NOT VALID", false},
      {"NOT VALID", false},
      {"xNOT VALID", false},
      {"x NOT  VALID", false},
      {"x NOT VALIDATE", false},
      {"x)NOT VALID", false},
  };
  for (const auto& c : cases) EXPECT_EQ(sql_ends_with_not_valid(c.stmt), c.out) << c.stmt;
}

struct ScanCase {
  std::string sql;
  Strings records;
};

Strings scan(const std::string& sql, bool unconditional = true, bool initial = false, bool models_state = false) {
  std::vector<Operation> ops;
  analyze_aerich_sql(sql, Span{}, unconditional, initial, models_state, ops);
  return summaries(ops);
}

TEST(AnalyzeAerichSql, StatementForms) {
  const ScanCase cases[] = {
      {"CREATE INDEX idx ON t (c); CREATE INDEX CONCURRENTLY idx2 ON s.t (c)",
       {"AddIndex @t model=t ctx", "AddIndexConcurrently @s.t model=t ctx"}},
      {"CREATE UNIQUE INDEX CONCURRENTLY i ON \"Order\" (id);", {"AddIndexConcurrently @Order model=Order"}},
      {"create unique index \"uid_user_email\" on \"public\".\"user\" (\"email\")",
       {"AddIndex @public.user model=user"}},
      {"CREATE INDEX i ON t(c) -- made CONCURRENTLY later", {"AddIndex @t model=t"}},
      {"CREATE INDEX i ON t (concurrently)", {"AddIndex @t model=t"}},
      // The glued form is an index statement but never a concurrent one.
      {"CREATEINDEXCONCURRENTLY i ON t (c)", {"AddIndex @t model=t"}},
      {"CREATE INDEX i", {}},
      {"DROP INDEX CONCURRENTLY IF EXISTS i", {"RemoveIndexConcurrently @- model="}},
      {"DROP INDEX IF EXISTS \"idx_user_name\"", {"RemoveIndex @- model="}},
      {"DROPINDEX x", {"RemoveIndex @- model="}},
      {"COMMENT ON TABLE t IS 'a; b'", {"RawSql @- sql=[COMMENT ON TABLE t IS]"}},
      {"CREATE TABLE IF NOT EXISTS t (id int)", {"CreateModel @- name=t"}},
      {"CREATE TABLE \"app\".\"book\" (\"id\" SERIAL NOT NULL PRIMARY KEY)", {"CreateModel @app.book name=book"}},
      {"CREATE TABLE (x)", {}},
      {"DROP TABLE IF EXISTS \"s\".\"t\" CASCADE", {"DeleteModel @s.t name=t"}},
      {"UPDATE t SET a = 1", {"RawSql @- sql=[UPDATE t SET a = 1]"}},
      {"ALTER TABLE t RENAME TO u", {"RenameModel @u name=u old=t"}},
      {"ALTER TABLE s.t RENAME TO x.u", {"RenameModel @s.u name=u old=t"}},
      {"ALTER TABLE t RENAME TO", {}},
      {"ALTER TABLE t RENAME c TO d", {"RenameField @t model=t name=c old=c new=d"}},
      {"ALTER TABLE \"t\" RENAME COLUMN \"c\" TO \"d\"", {"RenameField @t model=t name=c old=c new=d"}},
      {"ALTER TABLE t RENAME COLUMN c", {}},
      {"ALTER TABLE t RENAME CONSTRAINT a TO b", {"RawSql @- sql=[ALTER TABLE t RENAME CONSTRAINT a TO b]"}},
      {"ALTER TABLE t ADD COLUMN IF NOT EXISTS c text NULL", {"AddField @t model=t name=c {db_constraint}"}},
      {"ALTER TABLE t ADD COLUMN type text", {"AlterField @t model=t name=type {db_constraint,null,type_changed}"}},
      {"ALTER TABLE t ADD COLUMN c int UNIQUE REFERENCES u(id)",
       {"AddField @t model=t name=c {fk,db_constraint,unique,null}", "AddConstraint @t model=t Unique"}},
      {"ALTER TABLE \"t\" ADD \"age\" INT NOT NULL DEFAULT 0", {"AddField @t model=t name=age {db_constraint,default}"}},
      {"ALTER TABLE t ADD COLUMN unique_code text", {"AddField @t model=t name=unique_code {db_constraint,null}"}},
      {"ALTER TABLE IF EXISTS s.t DROP COLUMN IF EXISTS c", {"RemoveField @s.t model=t name=c"}},
      {"ALTER TABLE t DROP COLUMN", {}},
      {"ALTER TABLE ONLY t ADD COLUMN c int", {"AddField @ONLY model=ONLY name=c {db_constraint,null}"}},
      {"ALTER TABLE t ALTER COLUMN c DROP NOT NULL", {"RawSql @- sql=[ALTER TABLE t ALTER COLUMN c DROP NOT NULL]"}},
      {"ALTER TABLE t ALTER COLUMN c SET DEFAULT 0", {"RawSql @- sql=[ALTER TABLE t ALTER COLUMN c SET DEFAULT 0]"}},
      {"ALTER TABLE \"public\".\"user\" ALTER COLUMN \"age\" TYPE BIGINT USING \"age\"::BIGINT",
       {"AlterField @public.user model=user name=age {db_constraint,null,type_changed}"}},
      {"ALTER TABLE t ALTER COLUMN c SET DATA TYPE text", {"AlterField @t model=t name=c {db_constraint,null,type_changed}"}},
      {"ALTER TABLE \"t\" ALTER COLUMN \"c\" SET NOT NULL", {"AlterField @t model=t name=c {db_constraint}"}},
      {"ALTER TABLE t ADD COLUMN id int PRIMARY KEY", {"AddField @t model=t name=id {db_constraint,null}"}},
      {"ALTER TABLE t ADD CONSTRAINT fk FOREIGN KEY (a) REFERENCES u(id) NOT VALID",
       {"AddConstraint @t model=t ForeignKey not_valid"}},
      {"ALTER TABLE t ADD CONSTRAINT fk FOREIGN KEY (a) REFERENCES u(id)", {"AddConstraint @t model=t ForeignKey"}},
      {"ALTER TABLE t ADD CONSTRAINT ck CHECK (a > 0)", {"AddConstraint @t model=t Check"}},
      {"ALTER TABLE t ADD CONSTRAINT ex EXCLUDE USING gist (r WITH &&)", {"AddConstraint @t model=t Exclusion"}},
      {"ALTER TABLE t ADD CONSTRAINT uq UNIQUE (a, b)", {"AddConstraint @t model=t Unique"}},
      {"ALTER TABLE t ADD CONSTRAINT u UNIQUE USING INDEX i", {}},
      {"ALTER TABLE t ADD CONSTRAINT pk PRIMARY KEY (id)", {"RawSql @- sql=[ALTER TABLE t ADD CONSTRAINT pk PRIMARY KEY (id)]"}},
      {"ALTER TABLE t ADD PRIMARY KEY (id)", {"RawSql @- sql=[ALTER TABLE t ADD PRIMARY KEY (id)]"}},
      {"ALTER TABLE t DROP CONSTRAINT x", {"RawSql @- sql=[ALTER TABLE t DROP CONSTRAINT x]"}},
      {"ALTER TABLE", {}},
      {"DO $$ BEGIN ALTER TABLE t ADD CONSTRAINT c CHECK (x > 0) NOT VALID; EXCEPTION WHEN duplicate_object THEN "
       "NULL; END $$",
       {"AddConstraint @t model=t Check not_valid ctx", "RawSql @- sql=[EXCEPTION WHEN duplicate_object THEN NULL] ctx",
        "RawSql @- sql=[END $$] ctx"}},
      {"DO $$ BEGIN PERFORM 1 END $$", {"RawSql @- sql=[DO $$ BEGIN PERFORM 1 END $$]"}},
      // "ALTER  TABLE" with two blanks is not the phrase the DO block is searched for.
      {"DO $$ BEGIN ALTER  TABLE t ADD c int END $$", {"RawSql @- sql=[DO $$ BEGIN ALTER  TABLE t ADD c int END $$]"}},
      {"", {}},
      {"-- nothing here\n;; /* or here */ ;", {}},
  };
  for (const auto& c : cases) EXPECT_EQ(scan(c.sql), c.records) << c.sql;
}

TEST(AnalyzeAerichSql, FileFlagsDecideCreateTableAndComments) {
  const std::string create = "CREATE TABLE IF NOT EXISTS t (id int)";
  EXPECT_EQ(scan(create, true, false, false), Strings{"CreateModel @- name=t"});
  EXPECT_EQ(scan(create, true, true, false), Strings{"CreateModel @t name=t"});
  EXPECT_EQ(scan(create, true, false, true), Strings{"CreateModel @t name=t"});
  EXPECT_EQ(scan(create, false, true, true), Strings{"CreateModel @- name=t"});
  EXPECT_EQ(scan("CREATE TABLE t (id int)", false), Strings{"CreateModel @- name=t"});

  EXPECT_EQ(scan("COMMENT ON TABLE t IS 'a; b'", true, true), Strings{});
  EXPECT_EQ(scan("COMMENT ON COLUMN t.c IS 'x'", true, true), Strings{});
  EXPECT_EQ(scan("COMMENT ON INDEX i IS 'x'", true, true), Strings{"RawSql @- sql=[COMMENT ON INDEX i IS]"});
}

TEST(AnalyzeAerichSql, EveryRecordCarriesTheTextSpan) {
  const Span span{10, 90, 3, 11, 7, 3};
  std::vector<Operation> ops;
  analyze_aerich_sql("ALTER TABLE t ADD c int UNIQUE; DROP INDEX i", span, true, false, false, ops);
  ASSERT_EQ(ops.size(), 3u);
  for (const Operation& op : ops) {
    EXPECT_EQ(op.span, span);
    EXPECT_TRUE(op.context_flag);
  }
}

TEST(AnalyzeAerichSql, LargeInputsScanInLinearTime) {
  // Quadratic behaviour in statements, words or literal length would not
  // finish in reasonable time at these sizes.
  std::string many;
  for (int i = 0; i < 100000; ++i) many += "ALTER TABLE \"s\".\"t\" ADD COLUMN c int NOT NULL DEFAULT 0; -- c\n";
  std::vector<Operation> ops;
  analyze_aerich_sql(many, Span{}, true, false, false, ops);
  EXPECT_EQ(ops.size(), 100000u);

  std::string words = "ALTER TABLE t";
  for (int i = 0; i < 300000; ++i) words += " x";
  ops.clear();
  analyze_aerich_sql(words, Span{}, true, false, false, ops);
  ASSERT_EQ(ops.size(), 1u);
  EXPECT_EQ(ops[0].kind, OperationKind::RawSql);

  const std::string literal = "SELECT '" + std::string(2000000, '\'') + "";
  ops.clear();
  analyze_aerich_sql(literal, Span{}, true, false, false, ops);
  EXPECT_EQ(testutil::summaries(ops), Strings{"RawSql @- sql=[SELECT]"});
}

}  // namespace
}  // namespace tarn
