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

// Django's own index building, wherever the database side of the file runs it.
TEST(R018, NestedDatabaseOperationsCountAndOnlyDjangoIsJudged) {
  const FieldFlags unique{.unique = true};
  const auto rule = make_implicit_django_index();
  EXPECT_EQ(lines_found(*rule, Framework::Django,
                        {separate_op({add("author", unique, 2)}, true, 1), field_op(K::RemoveField, "book", unique, 3),
                         add("book", std::nullopt, 4)}),
            (Lines{2}));
  for (Framework fw : {Framework::Alembic, Framework::Aerich}) {
    EXPECT_EQ(lines_found(*rule, fw, {on_table(add("t", unique, 1), "t")}), Lines{});
  }
}

}  // namespace
}  // namespace tarn
