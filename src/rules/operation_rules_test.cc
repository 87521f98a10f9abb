#include "rules/operation_rules.h"

#include <gtest/gtest.h>

#include "rules/test_support.h"

namespace tarn {
namespace {

using namespace tarn::testing;
using K = OperationKind;

TEST(TestedOperations, NestedDatabaseOperationsStandInPlaceOfTheirWrapper) {
  std::vector<Operation> ops;
  ops.push_back(at_line(empty_op(K::Other), 1));
  std::vector<Operation> inner;
  inner.push_back(at_line(empty_op(K::Other), 3));
  std::vector<Operation> outer;
  outer.push_back(at_line(empty_op(K::Other), 2));
  outer.push_back(at_line(separate_op(std::move(inner), true), 90));
  outer.push_back(at_line(empty_op(K::Other), 4));
  ops.push_back(at_line(separate_op(std::move(outer), false), 91));
  ops.push_back(at_line(separate_op({}, true), 92));
  ops.push_back(at_line(empty_op(K::Other), 5));

  std::vector<uint64_t> lines;
  for (const Operation* op : tested_operations(ops)) lines.push_back(op->span.start_line);
  EXPECT_EQ(lines, (std::vector<uint64_t>{1, 2, 3, 4, 5}));
}

TEST(R005, OnlyTopLevelRemoveFieldIsReported) {
  auto rule = make_remove_field_without_separate();
  std::vector<Operation> inner;
  inner.push_back(at_line(field_op(K::RemoveField, "book", "title"), 3));
  std::vector<Operation> ops;
  ops.push_back(at_line(field_op(K::RemoveField, "book", "isbn"), 2));
  ops.push_back(at_line(separate_op(std::move(inner), true), 3));
  ops.push_back(at_line(empty_op(K::RemoveField), 5));  // reported whatever its payload
  auto d = check_rule(*rule, make_migration(Framework::Django, std::move(ops)));
  ASSERT_EQ(lines_of(d), (std::vector<uint64_t>{2, 5}));
  EXPECT_EQ(d[0].rule_id, "R005");
  EXPECT_EQ(d[0].rule_name, "remove-field-without-separate");
  EXPECT_EQ(d[0].message, "RemoveField without SeparateDatabaseAndState can cause errors");
  EXPECT_EQ(d[0].severity, Severity::Error);
  EXPECT_EQ(d[0].path, "app/migrations/0002_change.py");
  EXPECT_EQ(d[0].span, line_span(2));
  EXPECT_TRUE(d[0].help->starts_with("Wrap RemoveField in SeparateDatabaseAndState."));
}

TEST(R005, AlembicAndAerichShareTheirTexts) {
  auto rule = make_remove_field_without_separate();
  for (Framework fw : {Framework::Alembic, Framework::Aerich}) {
    std::vector<Operation> ops;
    ops.push_back(on_table(field_op(K::RemoveField, "t", "c"), "t"));
    auto d = check_rule(*rule, make_migration(fw, std::move(ops)));
    ASSERT_EQ(d.size(), 1u);
    EXPECT_EQ(d[0].message, "Dropping a column can break running application code");
    EXPECT_EQ(d[0].help, "Deploy code that no longer reads the column before a later drop-column migration.");
  }
}

TEST(R011, RenameFieldReportedAtItsOwnSpanAtAnyDepth) {
  auto rule = make_rename_field();
  std::vector<Operation> inner;
  inner.push_back(at_line(rename_field_op("book", "a", "b"), 4));
  std::vector<Operation> ops;
  ops.push_back(at_line(rename_field_op("book", "c", "d"), 2));
  ops.push_back(at_line(separate_op(std::move(inner), true), 3));
  ops.push_back(at_line(field_op(K::AlterField, "book", "e"), 6));

  struct Case {
    Framework framework;
    const char* message;
  };
  for (const Case& c : {Case{Framework::Django, "RenameField requires simultaneous application deployment"},
                        Case{Framework::Alembic, "Renaming a column requires simultaneous application deployment"},
                        Case{Framework::Aerich, "Renaming a column requires simultaneous application deployment"}}) {
    auto d = check_rule(*rule, make_migration(c.framework, ops));
    ASSERT_EQ(lines_of(d), (std::vector<uint64_t>{2, 4}));
    EXPECT_EQ(d[1].message, c.message);
    EXPECT_EQ(d[1].severity, Severity::Error);
    EXPECT_EQ(d[1].help,
              "Consider: 1) Add new field, 2) Copy data, 3) Update app to use new field, 4) Remove old field. This "
              "allows gradual rollout.");
  }
}

TEST(R012, RunPythonWithoutReverseIsAWarningNamingTheFunction) {
  auto rule = make_irreversible_run_python();
  std::vector<Operation> ops;
  ops.push_back(at_line(run_python("forwards"), 2));                                   // no reverse at all
  ops.push_back(at_line(run_python("migrate_data", "migrations.RunPython.noop"), 3));  // reversible
  ops.push_back(at_line(run_python("fill", "unfill"), 4));
  std::vector<Operation> inner;
  inner.push_back(at_line(run_python("nested"), 6));
  ops.push_back(at_line(separate_op(std::move(inner), false), 5));
  auto d = check_rule(*rule, make_migration(Framework::Django, std::move(ops)));
  ASSERT_EQ(lines_of(d), (std::vector<uint64_t>{2, 6}));
  EXPECT_EQ(d[0].message, "RunPython 'forwards' has no reverse function");
  EXPECT_EQ(d[1].message, "RunPython 'nested' has no reverse function");
  EXPECT_EQ(d[0].severity, Severity::Warning);
  EXPECT_EQ(d[0].help,
            "Add a reverse function: RunPython(forward, reverse) or use RunPython(forward, "
            "migrations.RunPython.noop) if no reverse is needed");
}

TEST(R012, FunctionTextWithBracesIsInsertedLiterally) {
  auto rule = make_irreversible_run_python();
  std::vector<Operation> ops;
  ops.push_back(run_python("lambda a, s: {}"));
  auto d = check_rule(*rule, make_migration(Framework::Django, std::move(ops)));
  ASSERT_EQ(d.size(), 1u);
  EXPECT_EQ(d[0].message, "RunPython 'lambda a, s: {}' has no reverse function");
}

TEST(R013, OnlyRunSqlWithoutAnyReverseIsReported) {
  auto rule = make_irreversible_run_sql();
  std::vector<Operation> ops;
  ops.push_back(at_line(run_sql("UPDATE t SET a = 1"), 2));      // no reverse_sql (or None)
  ops.push_back(at_line(run_sql("UPDATE t SET a = 1", ""), 3));  // RunSQL.noop
  ops.push_back(at_line(run_sql("UPDATE t SET a = 1", "UPDATE t"), 4));
  ops.push_back(at_line(sql_op(K::RawSql, "UPDATE t SET a = 1"), 5));  // not a RunSQL
  auto d = check_rule(*rule, make_migration(Framework::Django, std::move(ops)));
  ASSERT_EQ(lines_of(d), (std::vector<uint64_t>{2}));
  EXPECT_EQ(d[0].rule_id, "R013");
  EXPECT_EQ(d[0].message, "RunSQL has no reverse_sql");
  EXPECT_EQ(d[0].severity, Severity::Warning);
  EXPECT_EQ(d[0].help,
            "Add reverse_sql parameter: RunSQL(sql, reverse_sql) or use RunSQL(sql, migrations.RunSQL.noop) if no "
            "reverse is needed");
}

TEST(R014, ModuleAndNameRules) {
  struct Case {
    std::optional<std::string> module;
    std::vector<std::string> names;
    bool reported;
  };
  const Case cases[] = {
      {".models", {"Book"}, true},
      {"..models", {"Book"}, true},
      {"models", {"Book"}, true},
      {"myapp.models", {"slugify", "Book"}, true},
      {"myapp.models", {"slugify", "_Private", "\xc3\x89t\xc3\xa9"}, false},  // no ASCII capital
      {"myapp.models", {"", "book"}, false},
      {".other.models", {"*"}, true},
      {"django.db.models", {"Q"}, false},
      {"django.contrib.auth.models", {"User"}, false},
      {"djangoapp.models", {"User"}, true},
      {std::nullopt, {"myapp.models"}, false},  // plain import statement
      {"..", {"Book"}, false},
      {"mymodels", {"Book"}, false},
      {"myapp.models.base", {"Book"}, false},
      {"models.x", {"Book"}, false},
  };
  auto rule = make_model_imports();
  for (const Case& c : cases) {
    ParsedMigration m = make_migration(Framework::Django, {});
    m.imports.push_back(ModuleImport{c.names, c.module, line_span(3)});
    auto d = check_rule(*rule, m);
    ASSERT_EQ(d.size(), c.reported ? 1u : 0u) << c.module.value_or("(plain)");
    if (c.reported) {
      EXPECT_EQ(d[0].message, "Direct model import found in migration");
      EXPECT_EQ(d[0].span, line_span(3));
      EXPECT_EQ(d[0].severity, Severity::Error);
    }
  }
}

TEST(R014, OneDiagnosticPerImportStatementInOrder) {
  auto rule = make_model_imports();
  ParsedMigration m = make_migration(Framework::Django, {});
  m.imports.push_back(ModuleImport{{"Author", "Book"}, ".models", line_span(1)});
  m.imports.push_back(ModuleImport{{"migrations"}, "django.db", line_span(2)});
  m.imports.push_back(ModuleImport{{"Shelf"}, "shop.models", line_span(3)});
  auto d = check_rule(*rule, m);
  EXPECT_EQ(lines_of(d), (std::vector<uint64_t>{1, 3}));
  ASSERT_FALSE(d.empty());
  EXPECT_EQ(d[0].help,
            "Use apps.get_model('app_name', 'ModelName') in RunPython to get the historical model state instead of "
            "importing directly");
}

TEST(R015, MessagesByFlagsAndFramework) {
  struct Case {
    Framework framework;
    std::optional<FieldFlags> flags;
    const char* message;  // nullptr: nothing reported
    bool type_help;
  };
  const Case cases[] = {
      {Framework::Django, FieldFlags{},
       "AlterField 'email' results in a NOT NULL column (may require a full table scan)", false},
      {Framework::Django, FieldFlags{.null = true}, nullptr, false},
      {Framework::Django, std::nullopt, nullptr, false},
      {Framework::Alembic, FieldFlags{}, "Changing 'email' to NOT NULL may require a full table scan", false},
      {Framework::Aerich, FieldFlags{.db_constraint = true},
       "Changing 'email' to NOT NULL may require a full table scan", false},
      {Framework::Aerich, FieldFlags{.null = true, .type_changed = true},
       "Changing 'email' column type may require a table rewrite", true},
      {Framework::Django, FieldFlags{.type_changed = true}, "Changing 'email' column type may require a table rewrite",
       true},
  };
  auto rule = make_alter_field_not_null();
  for (const Case& c : cases) {
    std::vector<Operation> ops;
    ops.push_back(at_line(field_op(K::AlterField, "user", "email", c.flags), 4));
    auto d = check_rule(*rule, make_migration(c.framework, std::move(ops)));
    if (c.message == nullptr) {
      EXPECT_TRUE(d.empty());
      continue;
    }
    ASSERT_EQ(d.size(), 1u) << c.message;
    EXPECT_EQ(d[0].message, c.message);
    EXPECT_EQ(d[0].severity, Severity::Warning);
    EXPECT_EQ(d[0].span, line_span(4));
    if (c.type_help) {
      EXPECT_EQ(d[0].help,
                "Use an additive column, backfill it, and switch application reads before removing the old column.");
    } else {
      EXPECT_TRUE(
          d[0].help->starts_with("If the column was already NOT NULL (e.g. you're only changing max_length "
                                 "or help_text), this is safe \u2014 add `# tarn: ignore R015`"));
      EXPECT_NE(d[0].help->find("genuine nullable \u2192 NOT NULL"), std::string::npos);
      EXPECT_TRUE(d[0].help->ends_with("re-evaluate the predicate\n"));
    }
  }
}

TEST(R015, OnlyAlterFieldIsJudgedIncludingNestedOnes) {
  auto rule = make_alter_field_not_null();
  std::vector<Operation> inner;
  inner.push_back(at_line(field_op(K::AlterField, "user", "a", FieldFlags{}), 3));
  std::vector<Operation> ops;
  ops.push_back(at_line(field_op(K::AddField, "user", "b", FieldFlags{}), 2));
  ops.push_back(at_line(separate_op(std::move(inner), true), 3));
  auto d = check_rule(*rule, make_migration(Framework::Django, std::move(ops)));
  EXPECT_EQ(lines_of(d), (std::vector<uint64_t>{3}));
}

TEST(OperationRules, IdentityTexts) {
  auto r005 = make_remove_field_without_separate();
  auto r011 = make_rename_field();
  auto r012 = make_irreversible_run_python();
  auto r013 = make_irreversible_run_sql();
  auto r014 = make_model_imports();
  auto r015 = make_alter_field_not_null();
  struct Case {
    const std::unique_ptr<Rule>& rule;
    const char* id;
    const char* name;
    bool is_error;
  };
  for (const Case& c :
       {Case{r005, "R005", "remove-field-without-separate", true}, Case{r011, "R011", "rename-field", true},
        Case{r012, "R012", "irreversible-run-python", false}, Case{r013, "R013", "irreversible-run-sql", false},
        Case{r014, "R014", "model-imports", true}, Case{r015, "R015", "alter-field-not-null", false}}) {
    EXPECT_EQ(c.rule->id(), c.id);
    EXPECT_EQ(c.rule->name(), c.name);
    EXPECT_EQ(c.rule->is_error(), c.is_error);
    EXPECT_FALSE(c.rule->description().empty());
  }
  EXPECT_EQ(r013->description(),
            "RunSQL without reverse_sql makes the migration irreversible. Always provide reverse_sql or use "
            "migrations.RunSQL.noop.");
}

}  // namespace
}  // namespace tarn
