#include "rules/table_rules.h"

#include <gtest/gtest.h>

#include "rules/test_support.h"

namespace tarn {
namespace {

using namespace tarn::testing;

// A table operation as Alembic and Aerich record it, its table beside it.
Operation on_own_table(K kind, std::string name, uint64_t line, std::optional<std::string> old = std::nullopt) {
  return on_table(model_op(kind, name, line, std::move(old)), name);
}

TEST(R019, DropsAndRenamesOfExistingTables) {
  const auto rule = make_table_rename_or_drop();
  EXPECT_EQ(
      lines_found(
          *rule, Framework::Django,
          {model_op(K::DeleteModel, "Book", 1), model_op(K::CreateModel, "Book", 2),
           model_op(K::DeleteModel, "book", 3), model_op(K::DeleteModel, "Book", 4),  // forgotten after the first drop
           model_op(K::CreateModel, "A", 5), model_op(K::RenameModel, "B", 6, "A"),
           model_op(K::RenameModel, "C", 7, "B"), model_op(K::RenameModel, "Y", 8, "X"),
           model_op(K::AlterModelTable, "Other", 9), model_op(K::AlterModelTable, "c", 10),
           make_op(K::AlterModelOptions, payload::Empty{}, 11),
           separate_op({model_op(K::CreateModel, "D", 13)}, true, 12), model_op(K::DeleteModel, "D", 14)}),
      (Lines{1, 4, 8, 9}));
  EXPECT_EQ(lines_found(*rule, Framework::Alembic,
                        {on_own_table(K::DeleteModel, "t", 1), on_own_table(K::RenameModel, "u", 2, "t"),
                         model_op(K::DeleteModel, "v", 3),  // no table recorded
                         on_own_table(K::CreateModel, "a", 4), on_own_table(K::RenameModel, "b", 5, "a"),
                         on_own_table(K::DeleteModel, "b", 6), on_own_table(K::CreateModel, "c", 7),
                         sql_op(K::RawSql, "INSERT INTO c VALUES (1)", 8), on_own_table(K::DeleteModel, "c", 9)}),
            (Lines{1, 2, 3, 9}));
}

}  // namespace
}  // namespace tarn
