#include "rules/table_rules.h"

#include <gtest/gtest.h>

#include "rules/test_support.h"

namespace tarn {
namespace {

using namespace tarn::testing;
using K = OperationKind;

struct Case {
  const char* name;
  Framework framework;
  std::vector<Operation> ops;
  std::vector<uint64_t> reported;
};

Operation django(OperationKind kind, uint64_t line, std::string name, std::optional<std::string> old = {}) {
  return at_line(model_op(kind, std::move(name), std::move(old)), line);
}

// Alembic and Aerich operations carry the table after the operation.
Operation sql_level(OperationKind kind, uint64_t line, std::string name, std::optional<std::string> old = {}) {
  return on_table(django(kind, line, name, std::move(old)), name);
}

TEST(R019, DropsAndRenamesOfExistingTables) {
  std::vector<Case> cases;
  cases.push_back({"django drop of an existing model", Framework::Django, {}, {1}});
  cases.back().ops.push_back(django(K::DeleteModel, 1, "Book"));

  cases.push_back({"django create then drop, then drop again", Framework::Django, {}, {3}});
  cases.back().ops.push_back(django(K::CreateModel, 1, "Book"));
  cases.back().ops.push_back(django(K::DeleteModel, 2, "book"));
  cases.back().ops.push_back(django(K::DeleteModel, 3, "Book"));  // forgotten after the first drop

  cases.push_back({"django renames", Framework::Django, {}, {4}});
  cases.back().ops.push_back(django(K::CreateModel, 1, "A"));
  cases.back().ops.push_back(django(K::RenameModel, 2, "B", "A"));
  cases.back().ops.push_back(django(K::RenameModel, 3, "C", "B"));
  cases.back().ops.push_back(django(K::RenameModel, 4, "Y", "X"));

  cases.push_back({"django table options", Framework::Django, {}, {2}});
  cases.back().ops.push_back(django(K::CreateModel, 1, "A"));
  cases.back().ops.push_back(django(K::AlterModelTable, 2, "Other"));
  cases.back().ops.push_back(django(K::AlterModelTable, 3, "a"));
  cases.back().ops.push_back(at_line(empty_op(K::AlterModelOptions), 4));

  cases.push_back({"django model created inside SeparateDatabaseAndState", Framework::Django, {}, {}});
  {
    std::vector<Operation> inner;
    inner.push_back(django(K::CreateModel, 1, "A"));
    cases.back().ops.push_back(at_line(separate_op(std::move(inner), true), 1));
    cases.back().ops.push_back(django(K::DeleteModel, 2, "A"));
  }

  cases.push_back({"alembic drop and rename", Framework::Alembic, {}, {1, 2, 3}});
  cases.back().ops.push_back(sql_level(K::DeleteModel, 1, "t"));
  cases.back().ops.push_back(sql_level(K::RenameModel, 2, "u", "t"));
  cases.back().ops.push_back(django(K::DeleteModel, 3, "v"));  // no table recorded

  cases.push_back({"alembic created, renamed, dropped", Framework::Alembic, {}, {}});
  cases.back().ops.push_back(sql_level(K::CreateModel, 1, "a"));
  cases.back().ops.push_back(sql_level(K::RenameModel, 2, "b", "a"));
  cases.back().ops.push_back(sql_level(K::DeleteModel, 3, "b"));

  cases.push_back({"alembic raw SQL forgets created tables", Framework::Alembic, {}, {3}});
  cases.back().ops.push_back(sql_level(K::CreateModel, 1, "a"));
  cases.back().ops.push_back(at_line(sql_op(K::RawSql, "INSERT INTO a VALUES (1)"), 2));
  cases.back().ops.push_back(sql_level(K::DeleteModel, 3, "a"));

  cases.push_back({"aerich drop of an existing table", Framework::Aerich, {}, {2}});
  cases.back().ops.push_back(sql_level(K::CreateModel, 1, "a"));
  cases.back().ops.push_back(sql_level(K::DeleteModel, 2, "b"));
  cases.back().ops.push_back(sql_level(K::DeleteModel, 3, "a"));

  auto rule = make_table_rename_or_drop();
  for (Case& c : cases) {
    auto d = check_rule(*rule, make_migration(c.framework, std::move(c.ops)));
    EXPECT_EQ(lines_of(d), c.reported) << c.name;
    for (const Diagnostic& diagnostic : d) {
      EXPECT_EQ(diagnostic.message, "Renaming or dropping an existing table can break a running application");
      EXPECT_EQ(diagnostic.help,
                "Deploy compatible application code first; use a staged migration. The eventual physical drop "
                "remains deliberate and may need an inline `# tarn: ignore R019` only after the compatible rollout "
                "is complete.");
      EXPECT_EQ(diagnostic.severity, Severity::Error);
      EXPECT_EQ(diagnostic.rule_name, "table-rename-or-drop");
    }
  }
}

TEST(R019, Identity) {
  auto rule = make_table_rename_or_drop();
  EXPECT_EQ(rule->id(), "R019");
  EXPECT_TRUE(rule->is_error());
  EXPECT_EQ(rule->description(), "Renaming or dropping an existing table breaks a running application.");
}

}  // namespace
}  // namespace tarn
