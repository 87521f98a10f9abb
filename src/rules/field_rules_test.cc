#include "rules/field_rules.h"

#include <gtest/gtest.h>

#include "rules/test_support.h"

namespace tarn {
namespace {

using namespace tarn::testing;
using K = OperationKind;

// A ForeignKey column as Django writes it by default.
FieldFlags foreign_key_flags() {
  return FieldFlags{.foreign_key = true, .is_foreign_key_class = true, .db_constraint = true, .db_index = true};
}

TEST(R006, ForeignKeyColumnsOnExistingTables) {
  struct Case {
    const char* name;
    std::optional<FieldFlags> flags;
    bool reported;
  };
  FieldFlags no_constraint_no_index = foreign_key_flags();
  no_constraint_no_index.db_constraint = false;
  no_constraint_no_index.db_index = false;
  no_constraint_no_index.db_index_false = true;
  FieldFlags unique_without_constraint = no_constraint_no_index;
  unique_without_constraint.unique = true;
  FieldFlags one_to_one = no_constraint_no_index;  // not the ForeignKey class itself
  one_to_one.is_foreign_key_class = false;
  FieldFlags index_left_on = no_constraint_no_index;
  index_left_on.db_index_false = false;
  const Case cases[] = {
      {"plain ForeignKey", foreign_key_flags(), true},
      {"no constraint, no index", no_constraint_no_index, false},
      {"unique still builds an index", unique_without_constraint, true},
      {"other foreign-key class", one_to_one, true},
      {"index not switched off", index_left_on, true},
      {"not a foreign key", FieldFlags{.db_constraint = true}, false},
      {"field given as a variable", std::nullopt, false},
  };
  auto rule = make_add_field_foreign_key();
  for (const Case& c : cases) {
    std::vector<Operation> ops;
    ops.push_back(at_line(field_op(K::AddField, "Book", "author", c.flags), 4));
    auto d = check_rule(*rule, make_migration(Framework::Django, std::move(ops)));
    EXPECT_EQ(d.size(), c.reported ? 1u : 0u) << c.name;
  }
}

TEST(R006, TextsNameTheModelOrTable) {
  auto rule = make_add_field_foreign_key();
  std::vector<Operation> ops;
  ops.push_back(at_line(field_op(K::AddField, "Book", "author", foreign_key_flags()), 4));
  auto d = check_rule(*rule, make_migration(Framework::Django, ops));
  ASSERT_EQ(d.size(), 1u);
  EXPECT_EQ(d[0].rule_id, "R006");
  EXPECT_EQ(d[0].message, "AddField with ForeignKey on existing model 'Book'");
  EXPECT_TRUE(
      d[0].help->starts_with("Split the operation via SeparateDatabaseAndState instead of adding the "
                             "ForeignKey in one AddField on an existing table.\n\nPre-creating an index"));
  EXPECT_NE(d[0].help->find("one deployment step.\n\nA safer rollout is:"), std::string::npos);
  EXPECT_TRUE(d[0].help->ends_with("while keeping Django state aligned.\n"));
  EXPECT_EQ(d[0].span, line_span(4));

  for (Framework fw : {Framework::Alembic, Framework::Aerich}) {
    auto other = check_rule(*rule, make_migration(fw, {on_table(ops[0], "Book")}));
    ASSERT_EQ(other.size(), 1u);
    EXPECT_EQ(other[0].message, "Adding a foreign-key column to existing table 'Book' can lock it");
    EXPECT_EQ(other[0].help,
              "Add the column as nullable, backfill it, then add the foreign key as NOT VALID and validate it in a "
              "later migration.");
  }
}

TEST(R010, NotNullWithoutAnyDefault) {
  struct Case {
    const char* name;
    OperationKind kind;
    std::optional<FieldFlags> flags;
    bool reported;
  };
  const Case cases[] = {
      {"not null, no default", K::AddField, FieldFlags{}, true},
      {"nullable", K::AddField, FieldFlags{.null = true}, false},
      {"python default", K::AddField, FieldFlags{.has_default = true}, false},
      {"database default", K::AddField, FieldFlags{.has_db_default = true}, false},
      {"no column definition", K::AddField, std::nullopt, false},
      {"altered, not added", K::AlterField, FieldFlags{}, false},
  };
  auto rule = make_add_field_not_null();
  for (const Case& c : cases) {
    std::vector<Operation> ops;
    ops.push_back(field_op(c.kind, "book", "isbn", c.flags));
    auto d = check_rule(*rule, make_migration(Framework::Django, std::move(ops)));
    EXPECT_EQ(d.size(), c.reported ? 1u : 0u) << c.name;
  }
}

TEST(R010, TextsNameTheField) {
  const char* shared_help =
      "Either: 1) Add the field as nullable with null=True, backfill, then remove null=True in a separate "
      "migration, or 2) Provide a default value. A recognized db_default avoids this warning but is not a universal "
      "zero-downtime guarantee.";
  struct Case {
    Framework framework;
    const char* message;
    const char* help;
  };
  const Case cases[] = {
      {Framework::Django, "AddField 'isbn' is NOT NULL without a Python or database default", shared_help},
      {Framework::Alembic, "AddField 'isbn' is NOT NULL without a Python or database default", shared_help},
      {Framework::Aerich, "Adding 'isbn' as NOT NULL without a default can rewrite the table",
       "Add the column as nullable, backfill it, then set NOT NULL in a later Aerich migration."},
  };
  auto rule = make_add_field_not_null();
  for (const Case& c : cases) {
    std::vector<Operation> ops;
    ops.push_back(at_line(on_table(field_op(K::AddField, "book", "isbn", FieldFlags{}), "book"), 9));
    auto d = check_rule(*rule, make_migration(c.framework, std::move(ops)));
    ASSERT_EQ(d.size(), 1u);
    EXPECT_EQ(d[0].message, c.message);
    EXPECT_EQ(d[0].help, c.help);
    EXPECT_EQ(d[0].severity, Severity::Error);
    EXPECT_EQ(d[0].span, line_span(9));
  }
}

TEST(FieldRules, ColumnsOfTablesCreatedHereAreNotReported) {
  struct Case {
    const char* name;
    Framework framework;
    std::vector<Operation> ops;
    std::vector<uint64_t> reported;  // by both R006 and R010
  };
  FieldFlags fk_not_null = foreign_key_flags();
  auto add = [&](uint64_t line, std::string model) {
    return at_line(field_op(K::AddField, model, "author", fk_not_null), line);
  };
  std::vector<Case> cases;
  cases.push_back({"django, any letter case", Framework::Django, {}, {3}});
  cases.back().ops.push_back(model_op(K::CreateModel, "Book"));
  cases.back().ops.push_back(add(2, "BOOK"));
  cases.back().ops.push_back(add(3, "Author"));

  cases.push_back({"django, renamed after creation", Framework::Django, {}, {4}});
  cases.back().ops.push_back(model_op(K::CreateModel, "A"));
  cases.back().ops.push_back(model_op(K::RenameModel, "B", "A"));
  cases.back().ops.push_back(add(3, "b"));
  cases.back().ops.push_back(add(4, "a"));

  cases.push_back({"alembic, schema-qualified table is another", Framework::Alembic, {}, {3}});
  cases.back().ops.push_back(on_table(model_op(K::CreateModel, "t"), "t"));
  cases.back().ops.push_back(on_table(add(2, "t"), "t"));
  cases.back().ops.push_back(on_table(add(3, "t"), "t", "s"));

  cases.push_back({"aerich, dropped then added again", Framework::Aerich, {}, {3}});
  cases.back().ops.push_back(on_table(model_op(K::CreateModel, "t"), "t"));
  cases.back().ops.push_back(on_table(model_op(K::DeleteModel, "t"), "t"));
  cases.back().ops.push_back(on_table(add(3, "t"), "t"));

  auto r006 = make_add_field_foreign_key();
  auto r010 = make_add_field_not_null();
  for (const Case& c : cases) {
    ParsedMigration m = make_migration(c.framework, c.ops);
    EXPECT_EQ(lines_of(check_rule(*r006, m)), c.reported) << c.name;
    EXPECT_EQ(lines_of(check_rule(*r010, m)), c.reported) << c.name;
  }
}

TEST(R018, DjangoIndexesBuiltOnExistingTables) {
  struct Case {
    const char* name;
    Operation op;
    std::optional<Severity> severity;  // nothing: not reported
  };
  const Case cases[] = {
      {"AddField unique", field_op(K::AddField, "book", "isbn", FieldFlags{.unique = true}), Severity::Error},
      {"AddField db_index", field_op(K::AddField, "book", "isbn", FieldFlags{.db_index = true}), Severity::Error},
      {"AlterField unique", field_op(K::AlterField, "book", "isbn", FieldFlags{.unique = true}), Severity::Warning},
      {"AlterField db_index", field_op(K::AlterField, "book", "isbn", FieldFlags{.db_index = true}), Severity::Warning},
      {"AddField plain", field_op(K::AddField, "book", "isbn", FieldFlags{.null = true}), std::nullopt},
      {"AddField without definition", field_op(K::AddField, "book", "isbn"), std::nullopt},
      {"RemoveField unique", field_op(K::RemoveField, "book", "isbn", FieldFlags{.unique = true}), std::nullopt},
      {"AlterUniqueTogether with entries", unique_together_op("book", true), Severity::Error},
      {"AlterUniqueTogether emptied", unique_together_op("book", false), std::nullopt},
      {"AlterIndexTogether with entries", index_together_op("book", true), Severity::Error},
      {"AlterIndexTogether emptied", index_together_op("book", false), std::nullopt},
      {"AddIndex", index_op(K::AddIndex, "book"), std::nullopt},
  };
  auto rule = make_implicit_django_index();
  for (const Case& c : cases) {
    std::vector<Operation> ops;
    ops.push_back(at_line(c.op, 5));
    auto d = check_rule(*rule, make_migration(Framework::Django, std::move(ops)));
    if (!c.severity) {
      EXPECT_TRUE(d.empty()) << c.name;
      continue;
    }
    ASSERT_EQ(d.size(), 1u) << c.name;
    EXPECT_EQ(d[0].severity, *c.severity) << c.name;
    EXPECT_EQ(d[0].rule_id, "R018");
    EXPECT_EQ(d[0].message, "Django operation creates an index non-concurrently on an existing table");
    EXPECT_EQ(d[0].help,
              "Build the index concurrently in a separate migration and use SeparateDatabaseAndState to keep Django "
              "state aligned.");
    EXPECT_EQ(d[0].span, line_span(5));
  }
}

TEST(R018, DjangoOnlyAndTracksCreatedModels) {
  auto rule = make_implicit_django_index();
  std::vector<Operation> ops;
  ops.push_back(at_line(model_op(K::CreateModel, "Book"), 1));
  ops.push_back(at_line(field_op(K::AddField, "book", "isbn", FieldFlags{.unique = true}), 2));
  ops.push_back(at_line(unique_together_op("BOOK", true), 3));
  std::vector<Operation> inner;
  inner.push_back(at_line(field_op(K::AddField, "author", "isbn", FieldFlags{.unique = true}), 5));
  ops.push_back(at_line(separate_op(std::move(inner), true), 4));
  EXPECT_EQ(lines_of(check_rule(*rule, make_migration(Framework::Django, ops))), (std::vector<uint64_t>{5}));

  std::vector<Operation> table_ops;
  table_ops.push_back(on_table(field_op(K::AddField, "t", "c", FieldFlags{.unique = true}), "t"));
  for (Framework fw : {Framework::Alembic, Framework::Aerich}) {
    EXPECT_TRUE(check_rule(*rule, make_migration(fw, table_ops)).empty());
  }
}

TEST(FieldRules, Identity) {
  auto r006 = make_add_field_foreign_key();
  auto r010 = make_add_field_not_null();
  auto r018 = make_implicit_django_index();
  EXPECT_EQ(r006->name(), "add-field-foreign-key");
  EXPECT_EQ(r010->id(), "R010");
  EXPECT_EQ(r010->name(), "add-field-not-null");
  EXPECT_EQ(r018->name(), "implicit-django-index");
  EXPECT_TRUE(r018->is_error());  // its AlterField findings are warnings all the same
  EXPECT_EQ(r018->description(), "Django field uniqueness and indexes are built non-concurrently on existing tables.");
}

}  // namespace
}  // namespace tarn
