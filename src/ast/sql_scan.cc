#include "ast/sql_scan.h"

#include <algorithm>
#include <initializer_list>

#include "util/split.h"
#include "util/unicode_case.h"
#include "util/utf8.h"

namespace tarn {

namespace {

using SqlPhrase = std::initializer_list<std::string_view>;

bool is_word_byte(char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_';
}

// `upper` is already upper case; `text` may be in any letter case.
bool iequals(std::string_view text, std::string_view upper) {
  if (text.size() != upper.size()) return false;
  for (size_t i = 0; i < text.size(); ++i)
    if (ascii_upper(text[i]) != upper[i]) return false;
  return true;
}

bool istarts_with(std::string_view text, std::string_view upper) {
  return text.size() >= upper.size() && iequals(text.substr(0, upper.size()), upper);
}

// The text starts with `upper` as a whole word (end or a separator after it).
bool starts_with_word(std::string_view text, std::string_view upper) {
  return istarts_with(text, upper) && (text.size() == upper.size() || !is_word_byte(text[upper.size()]));
}

struct WordPos {
  size_t start;
  size_t end;
};

// The next word at or after `from`, if any.
std::optional<WordPos> next_word(std::string_view text, size_t from) {
  size_t i = from;
  while (i < text.size() && !is_word_byte(text[i])) ++i;
  if (i == text.size()) return std::nullopt;
  size_t j = i;
  while (j < text.size() && is_word_byte(text[j])) ++j;
  return WordPos{i, j};
}

// The first whole word equal to `upper`, ASCII case-insensitively. A match
// bounded by separators is exactly a whole word, so scanning words finds the
// same occurrence as a byte search with boundary checks.
std::optional<WordPos> find_word(std::string_view text, std::string_view upper) {
  for (auto w = next_word(text, 0); w; w = next_word(text, w->end))
    if (iequals(text.substr(w->start, w->end - w->start), upper)) return w;
  return std::nullopt;
}

bool starts_with_words(const SqlWords& words, SqlPhrase phrase) {
  if (words.size() < phrase.size()) return false;
  return std::equal(phrase.begin(), phrase.end(), words.begin());
}

bool contains_words(const SqlWords& words, SqlPhrase phrase) {
  auto next = phrase.begin();
  if (next == phrase.end()) return true;
  for (const std::string& w : words) {
    if (w == *next && ++next == phrase.end()) return true;
  }
  return false;
}

bool has_word(const SqlWords& words, std::string_view keyword) {
  return std::find(words.begin(), words.end(), keyword) != words.end();
}

enum class IndexForm { None, Plain, Unique, Glued };

IndexForm create_index_form(const SqlWords& w) {
  if (w.empty()) return IndexForm::None;
  if (w[0] == "CREATE" && w.size() >= 2) {
    if (w[1] == "INDEX") return IndexForm::Plain;
    if (w[1] == "UNIQUE" && w.size() >= 3 && w[2] == "INDEX") return IndexForm::Unique;
  }
  if (w[0].starts_with("CREATEINDEX") || w[0].starts_with("CREATEUNIQUEINDEX")) return IndexForm::Glued;
  return IndexForm::None;
}

std::optional<std::string> name_after(std::string_view statement, std::string_view keyword) {
  auto ref = sql_text_after_phrase(statement, keyword);
  if (!ref) return std::nullopt;
  return std::move(ref->name);
}

// Start of "ALTER TABLE" (one space) in a DO block, if any.
std::optional<size_t> find_alter_table(std::string_view text) {
  for (auto w = next_word(text, 0); w; w = next_word(text, w->end)) {
    if (!iequals(text.substr(w->start, w->end - w->start), "ALTER")) continue;
    if (w->end + 1 >= text.size() || text[w->end] != ' ') continue;
    auto t = next_word(text, w->end + 1);
    if (t && t->start == w->end + 1 && iequals(text.substr(t->start, t->end - t->start), "TABLE")) return w->start;
  }
  return std::nullopt;
}

// Produces the records of one statement; `flags` are shared by all records
// of the text.
class StatementScanner {
 public:
  StatementScanner(const Span& span, bool context_flag, bool unconditional, bool is_initial,
                   bool has_models_state, std::vector<Operation>& out)
      : span_(span),
        context_flag_(context_flag),
        unconditional_(unconditional),
        is_initial_(is_initial),
        has_models_state_(has_models_state),
        out_(out) {}

  void scan(std::string_view stmt) {
    SqlWords w = sql_words_upper(stmt);
    if (starts_with_words(w, {"DO"})) {
      // The body of a DO block is opaque except for the ALTER TABLE it runs.
      if (auto pos = find_alter_table(stmt)) stmt = stmt.substr(*pos);
      stmt = trim_unicode(stmt);
      if (stmt.empty()) return;
      w = sql_words_upper(stmt);
    }

    if (const IndexForm form = create_index_form(w); form != IndexForm::None) {
      auto t = sql_text_after_phrase(stmt, "ON");
      if (!t) return;
      const bool concurrent = (form == IndexForm::Plain && w.size() > 2 && w[2] == "CONCURRENTLY") ||
                              (form == IndexForm::Unique && w.size() > 3 && w[3] == "CONCURRENTLY");
      std::string model = t->name;
      emit(concurrent ? OperationKind::AddIndexConcurrently : OperationKind::AddIndex, std::move(t),
           payload::Index{std::move(model)});
      return;
    }
    if (is_drop_index_sql(w)) {
      const bool concurrent = w.size() > 2 && w[0] == "DROP" && w[1] == "INDEX" && w[2] == "CONCURRENTLY";
      emit(concurrent ? OperationKind::RemoveIndexConcurrently : OperationKind::RemoveIndex, std::nullopt,
           payload::Index{""});
      return;
    }
    if (starts_with_words(w, {"CREATE", "TABLE"})) {
      auto t = sql_text_after_phrase(stmt, "TABLE");
      if (!t) return;
      // Only a table that certainly did not exist before counts as new.
      const bool certain = unconditional_ && (is_initial_ || has_models_state_ ||
                                              !contains_words(w, {"IF", "NOT", "EXISTS"}));
      std::string name = t->name;
      emit(OperationKind::CreateModel, certain ? std::move(t) : std::nullopt,
           payload::Model{std::move(name), std::nullopt});
      return;
    }
    if (starts_with_words(w, {"DROP", "TABLE"})) {
      auto t = sql_text_after_phrase(stmt, "TABLE");
      if (!t) return;
      std::string name = t->name;
      emit(OperationKind::DeleteModel, std::move(t), payload::Model{std::move(name), std::nullopt});
      return;
    }
    if (is_initial_ &&
        (starts_with_words(w, {"COMMENT", "ON", "TABLE"}) || starts_with_words(w, {"COMMENT", "ON", "COLUMN"})))
      return;
    if (!starts_with_words(w, {"ALTER", "TABLE"})) return raw(stmt);
    alter_table(stmt, w);
  }

 private:
  void alter_table(std::string_view stmt, const SqlWords& w) {
    auto t = sql_text_after_phrase(stmt, "TABLE");
    if (!t) return;
    const std::string& table = t->name;

    const bool rename_constraint = contains_words(w, {"RENAME", "CONSTRAINT"});
    bool rename_column = false;
    if (!rename_constraint) {
      if (contains_words(w, {"RENAME", "COLUMN"})) {
        rename_column = true;
      } else if (auto after = name_after(stmt, "RENAME")) {
        rename_column = !iequals(*after, "TO");
      }
    }
    const bool rename_to = contains_words(w, {"RENAME", "TO"});

    if (!rename_constraint && !rename_column && rename_to) {
      auto u = sql_text_after_phrase(stmt, "TO");
      if (!u) return;
      // The new name stays in the schema of the old one.
      emit(OperationKind::RenameModel, TableRef{u->name, t->schema}, payload::Model{u->name, table});
      return;
    }
    if (contains_words(w, {"DROP", "COLUMN"})) {
      auto c = name_after(stmt, "COLUMN");
      if (!c) return;
      emit(OperationKind::RemoveField, t, payload::Field{table, std::move(*c), std::nullopt, std::nullopt, std::nullopt});
      return;
    }
    if (rename_column) {
      auto a = name_after(stmt, "COLUMN");
      if (!a) a = name_after(stmt, "RENAME");
      if (!a) return;
      auto b = name_after(stmt, "TO");
      if (!b) return;
      emit(OperationKind::RenameField, t, payload::Field{table, *a, *a, std::move(*b), std::nullopt});
      return;
    }
    const bool type_change =
        contains_words(w, {"ALTER", "COLUMN", "TYPE"}) || contains_words(w, {"ALTER", "COLUMN", "SET", "DATA", "TYPE"});
    if (type_change || contains_words(w, {"ALTER", "COLUMN", "SET", "NOT", "NULL"})) {
      auto c = name_after(stmt, "COLUMN");
      if (!c) return;
      FieldFlags flags;
      flags.db_constraint = true;
      flags.type_changed = type_change;
      flags.null = type_change;
      emit(OperationKind::AlterField, t, payload::Field{table, std::move(*c), std::nullopt, std::nullopt, flags});
      return;
    }
    if (auto c = sql_parse_add_clause(stmt)) {
      FieldFlags flags;
      flags.foreign_key = has_word(w, "REFERENCES");
      flags.unique = has_word(w, "UNIQUE");
      flags.null = !contains_words(w, {"NOT", "NULL"});
      flags.has_default = has_word(w, "DEFAULT");
      flags.db_constraint = true;
      emit(OperationKind::AddField, t, payload::Field{table, std::move(*c), std::nullopt, std::nullopt, flags});
      if (flags.unique)
        emit(OperationKind::AddConstraint, t, payload::Constraint{table, false, false, ConstraintKind::Unique});
      return;
    }
    if (!has_word(w, "ADD") || !has_word(w, "CONSTRAINT")) return raw(stmt);

    std::optional<ConstraintKind> kind;
    if (contains_words(w, {"FOREIGN", "KEY"})) {
      kind = ConstraintKind::ForeignKey;
    } else if (has_word(w, "CHECK")) {
      kind = ConstraintKind::Check;
    } else if (has_word(w, "EXCLUDE")) {
      kind = ConstraintKind::Exclusion;
    } else if (has_word(w, "UNIQUE")) {
      // UNIQUE USING INDEX promotes an index that already exists.
      if (contains_words(w, {"USING", "INDEX"})) return;
      kind = ConstraintKind::Unique;
    }
    if (!kind) return raw(stmt);
    emit(OperationKind::AddConstraint, t, payload::Constraint{table, sql_ends_with_not_valid(stmt), false, *kind});
  }

  void raw(std::string_view stmt) {
    emit(OperationKind::RawSql, std::nullopt, payload::Sql{std::string(stmt), std::nullopt});
  }

  void emit(OperationKind kind, std::optional<TableRef> table, OperationPayload payload) {
    out_.push_back(Operation{std::move(table), std::move(payload), span_, context_flag_, kind});
  }

  const Span& span_;
  bool context_flag_;
  bool unconditional_;
  bool is_initial_;
  bool has_models_state_;
  std::vector<Operation>& out_;
};

}  // namespace

std::string strip_sql_comments(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  const size_t n = text.size();
  size_t i = 0;
  while (i < n) {
    const char c = text[i];
    const char next = i + 1 < n ? text[i + 1] : '\0';
    if (c == '-' && next == '-') {
      const size_t nl = text.find('\n', i + 2);
      if (nl == std::string_view::npos) break;
      out += '\n';
      i = nl + 1;
    } else if (c == '/' && next == '*') {
      out += ' ';
      const size_t close = text.find("*/", i + 2);
      if (close == std::string_view::npos) break;
      i = close + 2;
    } else if (c == '\'') {
      out += ' ';
      size_t j = i + 1;
      for (;;) {
        j = text.find('\'', j);
        if (j == std::string_view::npos) {
          j = n;
          break;
        }
        if (j + 1 < n && text[j + 1] == '\'') {
          j += 2;  // a doubled quote stands for one quote
          continue;
        }
        ++j;
        break;
      }
      i = j;
    } else {
      out += c;
      ++i;
    }
  }
  return out;
}

SqlWords sql_words_upper(std::string_view text) {
  std::vector<std::string> words;
  for (auto w = next_word(text, 0); w; w = next_word(text, w->end))
    words.push_back(ascii_upper(text.substr(w->start, w->end - w->start)));
  return words;
}

bool is_create_index_sql(const SqlWords& words) { return create_index_form(words) != IndexForm::None; }

bool is_drop_index_sql(const SqlWords& w) {
  if (w.empty()) return false;
  return (w.size() >= 2 && w[0] == "DROP" && w[1] == "INDEX") || w[0].starts_with("DROPINDEX");
}

std::vector<std::string_view> sql_statements(std::string_view stripped) {
  return split_at(stripped, ';', Pieces::TrimmedNonEmpty);
}

std::optional<TableRef> sql_text_after_phrase(std::string_view statement, std::string_view keyword) {
  auto w = find_word(statement, keyword);
  if (!w) return std::nullopt;
  return sql_skip_if_exists(statement.substr(w->end));
}

std::optional<TableRef> sql_skip_if_exists(std::string_view text) {
  text = trim_unicode_start(text);
  for (std::string_view word : {"IF", "NOT", "EXISTS"}) {
    if (starts_with_word(text, word)) text = trim_unicode_start(text.substr(word.size()));
  }
  auto first = sql_parse_identifier(text);
  if (!first) return std::nullopt;
  const std::string_view rest = trim_unicode_start(first->rest);
  if (rest.empty() || rest[0] != '.') return TableRef{std::string(first->name), std::nullopt};
  auto second = sql_parse_identifier(trim_unicode_start(rest.substr(1)));
  if (!second) return std::nullopt;
  return TableRef{std::string(second->name), std::string(first->name)};
}

std::optional<SqlIdentifier> sql_parse_identifier(std::string_view text) {
  if (!text.empty() && text[0] == '"') {
    const size_t close = text.find('"', 1);
    if (close == std::string_view::npos) return std::nullopt;
    return SqlIdentifier{text.substr(1, close - 1), text.substr(close + 1)};
  }
  size_t k = 0;
  while (k < text.size() && is_word_byte(text[k])) ++k;
  if (k == 0) return std::nullopt;
  return SqlIdentifier{text.substr(0, k), text.substr(k)};
}

std::optional<std::string> sql_parse_add_clause(std::string_view statement) {
  auto add = find_word(statement, "ADD");
  if (!add) return std::nullopt;
  std::string_view rest = trim_unicode_start(statement.substr(add->end));
  if (starts_with_word(rest, "COLUMN")) rest = trim_unicode_start(rest.substr(6));
  auto ref = sql_skip_if_exists(rest);
  if (!ref) return std::nullopt;
  const std::string upper = ascii_upper(ref->name);
  for (std::string_view constraint_word : {"CONSTRAINT", "CHECK", "UNIQUE", "PRIMARY", "FOREIGN", "EXCLUDE"})
    if (upper == constraint_word) return std::nullopt;
  return std::move(ref->name);
}

bool sql_ends_with_not_valid(std::string_view statement) {
  static constexpr std::string_view kTail = "NOT VALID";
  const std::string_view text = trim_unicode_end(statement);
  if (text.size() <= kTail.size() || !iequals(text.substr(text.size() - kTail.size()), kTail)) return false;
  // Step back over continuation bytes to the start of the preceding character.
  const size_t end = text.size() - kTail.size();
  size_t start = end - 1;
  while (start > 0 && end - start < 4 && (static_cast<unsigned char>(text[start]) & 0xC0) == 0x80) --start;
  size_t pos = start;
  return is_unicode_space(decode_utf8(text.substr(0, end), pos));
}

void analyze_aerich_sql(std::string_view sql, const Span& span, bool unconditional, bool is_initial,
                        bool has_models_state, std::vector<Operation>& out) {
  const std::string stripped = strip_sql_comments(sql);
  const std::vector<std::string_view> statements = sql_statements(stripped);
  // PostgreSQL runs a query string of several statements in one implicit
  // transaction, whatever the migration says.
  StatementScanner scanner(span, statements.size() != 1, unconditional, is_initial, has_models_state, out);
  for (std::string_view stmt : statements) scanner.scan(stmt);
}

}  // namespace tarn
