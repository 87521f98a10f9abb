// Word-level SQL reading: comment and literal stripping, statement splitting,
// keyword phrases, and the scanner that turns Aerich SQL into operations.
// Not an SQL parser: every test is a word or byte test on the statement text.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "ast/model.h"

namespace tarn {

// Line comments become one line feed, block comments and single-quoted
// literals one space each; everything else is copied unchanged.
std::string strip_sql_comments(std::string_view text);

using SqlWords = std::vector<std::string>;

// Runs of ASCII letters, digits and "_", ASCII upper-cased, in order.
SqlWords sql_words_upper(std::string_view text);

// The words of a statement (sql_words_upper) are CREATE [UNIQUE] INDEX ...,
// also written glued (CREATEINDEX...).
bool is_create_index_sql(const SqlWords& words);
// ... are DROP INDEX ..., also written glued (DROPINDEX...).
bool is_drop_index_sql(const SqlWords& words);

// Appends the operations one SQL text describes, each stamped with `span`.
// The flags come from the Aerich walker: the text lies outside any
// conditional or loop, the migration is an initial one, the module assigns
// MODELS_STATE.
void analyze_aerich_sql(std::string_view sql, const Span& span, bool unconditional, bool is_initial,
                        bool has_models_state, std::vector<Operation>& out);

// --- Building blocks of the scanner (also exercised directly by tests). ---

// Pieces of `stripped` between semicolons, trimmed, empty ones dropped.
std::vector<std::string_view> sql_statements(std::string_view stripped);


// The (optionally schema-qualified) name after the first whole-word
// occurrence of `keyword`, skipping IF / NOT / EXISTS before it.
std::optional<TableRef> sql_text_after_phrase(std::string_view statement, std::string_view keyword);
std::optional<TableRef> sql_skip_if_exists(std::string_view text);

struct SqlIdentifier {
  std::string_view name;  // unquoted
  std::string_view rest;  // text after the name (after the closing quote)
};
std::optional<SqlIdentifier> sql_parse_identifier(std::string_view text);

// The column an ALTER TABLE ... ADD [COLUMN] clause adds; none for a table
// constraint.
std::optional<std::string> sql_parse_add_clause(std::string_view statement);
bool sql_ends_with_not_valid(std::string_view statement);

}  // namespace tarn
