#include "ast/sql_scan.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ast/test_support.h"

namespace tarn {
namespace {

using testing::Strings;

TEST(StripSqlComments, Table) {
  const std::pair<std::string, std::string> cases[] = {
      {"x'a'y'b'z", "x y z"},
      {"a /* x", "a  "},
      {"/*/ x", " "},
      {"/* a */* b */", " * b */"},
      {"'a--b' -- c\nd", "  \nd"},
      {"\"a--b\"\nc", "\"a\nc"},
      {"$$ a; b $$", "$$ a; b $$"},
      {"\xC3\xA9 -- x\n\xC3\xBC", "\xC3\xA9 \n\xC3\xBC"},
  };
  for (const auto& [in, out] : cases) EXPECT_EQ(strip_sql_comments(in), out) << in;
}

TEST(SqlWords, SplitAndUpperCase) {
  EXPECT_EQ(sql_words_upper("\"Order\".id"), (Strings{"ORDER", "ID"}));
  // Non-ASCII characters separate words and are never case-mapped.
  EXPECT_EQ(sql_words_upper("\xC3\xBCn\xC3\xAF_a1"), (Strings{"N", "_A1"}));
  EXPECT_EQ(sql_statements("a; b ;; c"), (std::vector<std::string_view>{"a", "b", "c"}));
  EXPECT_EQ(sql_statements("\xC2\xA0"
                           "a b\xE3\x80\x80;"),
            (std::vector<std::string_view>{"a b"}));
  EXPECT_TRUE(sql_statements(" ; \n ").empty());
}

TEST(IndexPredicates, GluedAndSpacedForms) {
  const std::tuple<std::string, bool, bool> cases[] = {
      {"CREATE \n  INDEX", true, false}, {"createuniqueindex_x on t", true, false}, {"CREATEINDE x", false, false},
      {"CREATE_INDEX i", false, false},  {"x CREATE INDEX", false, false},           {"DROPINDEXES", false, true},
  };
  for (const auto& [in, create, drop] : cases) {
    EXPECT_EQ(is_create_index_sql(sql_words_upper(in)), create) << in;
    EXPECT_EQ(is_drop_index_sql(sql_words_upper(in)), drop) << in;
  }
}

TEST(SqlParseIdentifier, Table) {
  const std::tuple<std::string, bool, std::string, std::string> cases[] = {
      {"abc def", true, "abc", " def"},
      {"\"Order\".x", true, "Order", ".x"},
      {"\"a b\"\"c\"", true, "a b", "\"c\""},
      {"\"\" x", true, "", " x"},
      {"a\"b\"", true, "a", "\"b\""},
      {"\"abc", false, "", ""},
      {"(x", false, "", ""},
  };
  for (const auto& [in, found, name, rest] : cases) {
    auto id = sql_parse_identifier(in);
    ASSERT_EQ(id.has_value(), found) << in;
    if (!id) continue;
    EXPECT_EQ(id->name, name) << in;
    EXPECT_EQ(id->rest, rest) << in;
  }
}

// "schema.name", "name", or "none".
std::string ref_label(const std::optional<TableRef>& ref) {
  if (!ref) return "none";
  return (ref->schema ? *ref->schema + "." : "") + ref->name;
}

TEST(SqlTableNames, SkipIfExistsAndTextAfterPhrase) {
  const std::pair<std::string, std::string> skip[] = {
      {"NOT t", "t"},
      // Each word is tested once, in order: IF after EXISTS is a name.
      {"EXISTS IF t", "IF"},
      {"s . \"T\" rest", "s.T"},
      {"s.", "none"},
      {"IF NOT EXISTS", "none"},
      {"\xC2\xA0t", "t"},
  };
  for (const auto& [in, out] : skip) EXPECT_EQ(ref_label(sql_skip_if_exists(in)), out) << in;
  const std::tuple<std::string, std::string, std::string> after[] = {
      {"CREATE TABLE_X TABLE y", "TABLE", "y"},
      {"x ON", "ON", "none"},
      // The first whole-word occurrence decides even when no name follows it.
      {"RENAME TO (x) TO y", "TO", "none"},
  };
  for (const auto& [stmt, keyword, out] : after)
    EXPECT_EQ(ref_label(sql_text_after_phrase(stmt, keyword)), out) << stmt;
}

TEST(SqlEndsWithNotValid, Table) {
  const std::pair<std::string, bool> cases[] = {
      {"x not valid  \n", true},    {"x\tNOT VALID", true},      {"x\xC2\xA0NOT VALID", true},
      {"\xC3\xA9NOT VALID", false}, {"NOT VALID", false},         {"xNOT VALID", false},
      {"x NOT VALIDATE", false},    {"x)NOT VALID", false},
  };
  for (const auto& [stmt, out] : cases) EXPECT_EQ(sql_ends_with_not_valid(stmt), out) << stmt;
}

Strings scan(const std::string& sql, bool unconditional = true, bool initial = false, bool models_state = false) {
  std::vector<Operation> ops;
  analyze_aerich_sql(sql, Span{}, unconditional, initial, models_state, ops);
  return testing::summaries(ops);
}

TEST(AnalyzeAerichSql, StatementForms) {
  const std::pair<std::string, Strings> cases[] = {
      {"CREATE INDEX i ON t (concurrently)", {"AddIndex @t model=t"}},
      // The glued form is an index statement but never a concurrent one.
      {"CREATEINDEXCONCURRENTLY i ON t (c)", {"AddIndex @t model=t"}},
      {"ALTER TABLE s.t RENAME TO x.u", {"RenameModel @s.u name=u old=t"}},
      {"ALTER TABLE t ADD COLUMNS int", {"AddField @t model=t name=COLUMNS {db_constraint,null}"}},
      {"ALTER TABLE address ADD COLUMN s.c int", {"AddField @address model=address name=c {db_constraint,null}"}},
      {"ALTER TABLE t ADD COLUMN unique_code text", {"AddField @t model=t name=unique_code {db_constraint,null}"}},
      // "ALTER  TABLE" with two blanks is not the phrase the DO block is searched for.
      {"DO $$ BEGIN ALTER  TABLE t ADD c int END $$", {"RawSql sql=[DO $$ BEGIN ALTER  TABLE t ADD c int END $$]"}},
  };
  for (const auto& [sql, records] : cases) EXPECT_EQ(scan(sql), records) << sql;
  // Statements cut short, and comments only, record nothing.
  EXPECT_EQ(scan("CREATE INDEX i; CREATE TABLE (x); ALTER TABLE t RENAME TO; ALTER TABLE t RENAME COLUMN c;"
                 "ALTER TABLE t DROP COLUMN; ALTER TABLE; -- nothing here\n;; /* or here */ ;"),
            Strings{});
}

TEST(AnalyzeAerichSql, FileFlagsDecideCreateTableAndComments) {
  // A generated-format file makes a table it creates unconditionally certain;
  // in the initial migration only comments on tables and columns are no SQL.
  const std::string create = "CREATE TABLE IF NOT EXISTS t (id int)";
  EXPECT_EQ(scan(create, true, false, true), Strings{"CreateModel @t name=t"});
  EXPECT_EQ(scan(create, false, true, true), Strings{"CreateModel name=t"});
  EXPECT_EQ(scan("COMMENT ON INDEX i IS 'x'", true, true), Strings{"RawSql sql=[COMMENT ON INDEX i IS]"});
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

  EXPECT_EQ(scan("SELECT '" + std::string(2000000, '\'')), Strings{"RawSql sql=[SELECT]"});
}

}  // namespace
}  // namespace tarn
