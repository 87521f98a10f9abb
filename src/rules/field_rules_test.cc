#include "rules/field_rules.h"

#include <gtest/gtest.h>

#include "rules/test_support.h"

namespace tarn {
namespace {

using namespace tarn::testing;

Operation add(std::string model, std::optional<FieldFlags> flags, uint64_t line) {
  return field_op(K::AddField, std::move(model), flags, line);
}

TEST(R006, ForeignKeyColumnsOnExistingTables) {
  // A ForeignKey column as Django writes it by default.
  const FieldFlags fk{.foreign_key = true, .is_foreign_key_class = true, .db_constraint = true, .db_index = true};
  FieldFlags plain_column = fk;
  plain_column.db_constraint = plain_column.db_index = false;
  plain_column.db_index_false = true;
  FieldFlags unique = plain_column;  // still builds an index
  unique.unique = true;
  FieldFlags other_class = plain_column;  // a OneToOneField, say
  other_class.is_foreign_key_class = false;
  FieldFlags index_left_on = plain_column;
  index_left_on.db_index_false = false;
  EXPECT_EQ(
      lines_found(*make_add_field_foreign_key(), Framework::Django,
                  {add("book", fk, 1), add("book", plain_column, 2), add("book", unique, 3),
                   add("book", other_class, 4), add("book", index_left_on, 5),
                   add("book", FieldFlags{.db_constraint = true}, 6), add("book", std::nullopt, 7),
                   field_op(K::AlterField, "book", fk, 8), model_op(K::CreateModel, "Shelf", 9), add("shelf", fk, 10)}),
      (Lines{1, 3, 4, 5}));
}

TEST(R010, NotNullWithoutAnyDefaultOnExistingTables) {
  EXPECT_EQ(
      lines_found(*make_add_field_not_null(), Framework::Django,
                  {add("book", FieldFlags{}, 1), add("book", FieldFlags{.null = true}, 2),
                   add("book", FieldFlags{.has_default = true}, 3), add("book", FieldFlags{.has_db_default = true}, 4),
                   add("book", std::nullopt, 5), field_op(K::AlterField, "book", FieldFlags{}, 6),
                   model_op(K::CreateModel, "Shelf", 7), add("shelf", FieldFlags{}, 8)}),
      (Lines{1}));
}

TEST(R018, DjangoIndexesBuiltOnExistingTables) {
  const FieldFlags unique{.unique = true};
  const auto rule = make_implicit_django_index();
  const auto found = check_rule(
      *rule, make_migration(Framework::Django,
                            {add("book", unique, 1), field_op(K::AlterField, "book", FieldFlags{.db_index = true}, 2),
                             add("book", std::nullopt, 3), field_op(K::RemoveField, "book", unique, 4),
                             index_op(K::AddIndex, "book", 5), model_op(K::CreateModel, "Shelf", 6),
                             add("shelf", unique, 7), separate_op({add("author", unique, 9)}, true, 8)}));
  std::vector<std::pair<uint64_t, Severity>> seen;
  for (const Diagnostic& d : found) seen.emplace_back(d.span.start_line, d.severity);
  // Altering a field that may already carry the index is only a warning.
  EXPECT_EQ(seen, (std::vector<std::pair<uint64_t, Severity>>{
                      {1, Severity::Error}, {2, Severity::Warning}, {9, Severity::Error}}));
  for (Framework fw : {Framework::Alembic, Framework::Aerich}) {
    EXPECT_EQ(lines_found(*rule, fw, {on_table(add("t", unique, 1), "t")}), Lines{});
  }
}

}  // namespace
}  // namespace tarn
