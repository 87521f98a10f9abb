#include "rules/constraint_rules.h"

#include <gtest/gtest.h>

#include "rules/test_support.h"

namespace tarn {
namespace {

using namespace tarn::testing;
using K = OperationKind;
using CK = ConstraintKind;

TEST(R002, TextsByFrameworkAndUniqueShape) {
  struct Case {
    Framework framework;
    bool non_plain;
    const char* message;
    const char* help_start;
    const char* help_end;
  };
  const Case cases[] = {
      {Framework::Django, false, "AddConstraint with UniqueConstraint locks the table while it builds the index",
       "Django's AddConstraint cannot reuse a pre-built index. To avoid the lock,",
       "Set `atomic = False` on the migration so RunSQL doesn't open one.\n"},
      {Framework::Django, true, "AddConstraint with this UniqueConstraint locks the table while it builds the index",
       "Non-plain unique indexes cannot be attached as PostgreSQL constraints.",
       "`CREATE UNIQUE INDEX CONCURRENTLY` must run outside a transaction.\n"},
      {Framework::Alembic, true, "Alembic create_unique_constraint locks the table while it builds the index",
       "Create a UNIQUE INDEX CONCURRENTLY inside an autocommit block,", "UNIQUE USING INDEX."},
      {Framework::Aerich, false, "Aerich UNIQUE constraint builds its index while locking the table",
       "Create a UNIQUE INDEX CONCURRENTLY, then attach it", "in a later Aerich migration."},
  };
  auto rule = make_unique_constraint_without_index();
  for (const Case& c : cases) {
    std::vector<Operation> ops;
    ops.push_back(at_line(on_table(constraint_op("book", CK::Unique, false, c.non_plain), "book"), 6));
    auto d = check_rule(*rule, make_migration(c.framework, std::move(ops)));
    ASSERT_EQ(d.size(), 1u) << c.message;
    EXPECT_EQ(d[0].rule_id, "R002");
    EXPECT_EQ(d[0].rule_name, "unique-constraint-without-index");
    EXPECT_EQ(d[0].message, c.message);
    EXPECT_TRUE(d[0].help->starts_with(c.help_start)) << *d[0].help;
    EXPECT_TRUE(d[0].help->ends_with(c.help_end)) << *d[0].help;
    EXPECT_EQ(d[0].severity, Severity::Error);
    EXPECT_EQ(d[0].span, line_span(6));
  }
}

TEST(R002, DjangoPlainHelpKeepsItsCodeSample) {
  auto rule = make_unique_constraint_without_index();
  std::vector<Operation> ops;
  ops.push_back(constraint_op("book", CK::Unique));
  auto d = check_rule(*rule, make_migration(Framework::Django, std::move(ops)));
  ASSERT_EQ(d.size(), 1u);
  EXPECT_NE(d[0].help->find("re-introduces the lock):\n\n  SeparateDatabaseAndState(\n      state_operations=[\n"),
            std::string::npos);
  EXPECT_NE(d[0].help->find("          migrations.RunSQL('ALTER TABLE <table> ADD CONSTRAINT <name> UNIQUE USING "
                            "INDEX <name>;'),\n      ],\n  )\n\nTwo RunSQL"),
            std::string::npos);
}

TEST(R002, OnlyUniqueConstraintsOnExistingTables) {
  auto rule = make_unique_constraint_without_index();
  std::vector<Operation> ops;
  ops.push_back(at_line(model_op(K::CreateModel, "Book"), 1));
  ops.push_back(at_line(constraint_op("book", CK::Unique), 2));    // created here, any case
  ops.push_back(at_line(constraint_op("author", CK::Check), 3));   // R017's
  ops.push_back(at_line(constraint_op("author", CK::Unique), 4));  // reported
  ops.push_back(at_line(plain_op(K::RemoveConstraint, payload::Constraint{"author", false, false, CK::Unique}), 5));
  auto d = check_rule(*rule, make_migration(Framework::Django, std::move(ops)));
  EXPECT_EQ(lines_of(d), (std::vector<uint64_t>{4}));
}

TEST(R017, ReportsByKindFrameworkAndNotValid) {
  struct Case {
    Framework framework;
    CK kind;
    bool not_valid;
    const char* message;  // nullptr: nothing
  };
  const Case cases[] = {
      {Framework::Django, CK::ForeignKey, false, "Adding a FOREIGN KEY validates all existing rows"},
      {Framework::Alembic, CK::ForeignKey, false, "Adding a FOREIGN KEY validates all existing rows"},
      {Framework::Alembic, CK::ForeignKey, true, nullptr},
      {Framework::Aerich, CK::Check, true, nullptr},
      {Framework::Aerich, CK::Check, false, "Adding a CHECK constraint validates all existing rows"},
      {Framework::Alembic, CK::Check, false, "Adding a CHECK constraint validates all existing rows"},
      {Framework::Django, CK::Check, false, "AddConstraint with a CHECK constraint validates all rows"},
      {Framework::Django, CK::Check, true, "AddConstraint with a CHECK constraint validates all rows"},
      {Framework::Django, CK::ForeignKey, true, "Adding a FOREIGN KEY validates all existing rows"},
      {Framework::Django, CK::Exclusion, false,
       "AddConstraint with an EXCLUDE constraint builds its index non-concurrently, locking the table"},
      {Framework::Alembic, CK::Exclusion, true,
       "Adding an EXCLUDE constraint builds its index non-concurrently, locking the table"},
      {Framework::Aerich, CK::Exclusion, false,
       "Adding an EXCLUDE constraint builds its index non-concurrently, locking the table"},
      {Framework::Django, CK::Unique, false, nullptr},
      {Framework::Aerich, CK::Other, false, nullptr},
  };
  auto rule = make_non_concurrent_add_constraint();
  for (const Case& c : cases) {
    std::vector<Operation> ops;
    ops.push_back(at_line(on_table(constraint_op("t", c.kind, c.not_valid), "t"), 3));
    auto d = check_rule(*rule, make_migration(c.framework, std::move(ops)));
    if (c.message == nullptr) {
      EXPECT_TRUE(d.empty()) << static_cast<int>(c.framework) << " " << static_cast<int>(c.kind);
      continue;
    }
    ASSERT_EQ(d.size(), 1u) << c.message;
    EXPECT_EQ(d[0].message, c.message);
    EXPECT_EQ(d[0].rule_id, "R017");
    EXPECT_EQ(d[0].severity, Severity::Error);
  }
}

TEST(R017, Helps) {
  struct Case {
    Framework framework;
    CK kind;
    const char* help;
  };
  const Case cases[] = {
      {Framework::Aerich, CK::ForeignKey,
       "Add the foreign key as NOT VALID, validate it separately, then enforce it after the application is ready."},
      {Framework::Django, CK::Check,
       "Use RunSQL to add the constraint with NOT VALID, then validate in a separate migration:\n"
       "  ALTER TABLE ... ADD CONSTRAINT <name> CHECK (...) NOT VALID;\n"
       "  ALTER TABLE ... VALIDATE CONSTRAINT <name>;  -- table-scan without blocking writes\n"},
      {Framework::Alembic, CK::Check, "Add the constraint as NOT VALID, then validate it in a later revision."},
      {Framework::Aerich, CK::Exclusion,
       "PostgreSQL has no fully-online EXCLUDE constraint path; create it with a new table or use a low-traffic "
       "window."},
  };
  auto rule = make_non_concurrent_add_constraint();
  for (const Case& c : cases) {
    std::vector<Operation> ops;
    ops.push_back(constraint_op("t", c.kind));
    auto d = check_rule(*rule, make_migration(c.framework, std::move(ops)));
    ASSERT_EQ(d.size(), 1u);
    EXPECT_EQ(d[0].help, c.help);
  }
  std::vector<Operation> ops;
  ops.push_back(constraint_op("t", CK::Exclusion));
  auto d = check_rule(*rule, make_migration(Framework::Django, std::move(ops)));
  ASSERT_EQ(d.size(), 1u);
  EXPECT_TRUE(
      d[0].help->starts_with("PostgreSQL has no NOT VALID form for EXCLUDE constraints, and `ALTER TABLE ... "
                             "ADD CONSTRAINT ... EXCLUDE USING gist` always builds its own index under ACCESS "
                             "EXCLUSIVE \u2014 `USING INDEX`"));
  EXPECT_NE(d[0].help->find("Mitigations:\n  - Defer the migration to a low-traffic window.\n"), std::string::npos);
  EXPECT_TRUE(d[0].help->ends_with("doesn't block all writes indefinitely.\n"));
}

TEST(R017, TablesCreatedEarlierInTheMigration) {
  struct Case {
    const char* name;
    Framework framework;
    std::vector<Operation> ops;
    std::vector<uint64_t> reported;
  };
  auto create = [](std::string name, std::optional<std::string> schema = std::nullopt) {
    return at_line(on_table(model_op(K::CreateModel, name), name, std::move(schema)), 1);
  };
  auto check_on = [](uint64_t line, std::string table, std::optional<std::string> schema = std::nullopt) {
    return at_line(on_table(constraint_op(table, CK::Check), table, std::move(schema)), line);
  };
  std::vector<Case> cases;
  cases.push_back({"alembic: same table", Framework::Alembic, {}, {}});
  cases.back().ops.push_back(create("t"));
  cases.back().ops.push_back(check_on(2, "t"));
  cases.back().ops.push_back(check_on(3, "t", "s"));  // another table
  cases.back().reported = {3};

  cases.push_back({"alembic: raw SQL in between forgets", Framework::Alembic, {}, {2, 4}});
  cases.back().ops.push_back(create("t"));
  cases.back().ops.push_back(check_on(2, "u"));
  cases.back().ops.push_back(at_line(sql_op(K::RawSql, "UPDATE t SET a = 1"), 3));
  cases.back().ops.push_back(check_on(4, "t"));

  cases.push_back({"aerich: constraint without a table", Framework::Aerich, {}, {2}});
  cases.back().ops.push_back(create("t"));
  cases.back().ops.push_back(at_line(constraint_op("t", CK::Check), 2));

  cases.push_back({"django: created inside SeparateDatabaseAndState", Framework::Django, {}, {3}});
  {
    std::vector<Operation> inner;
    inner.push_back(at_line(model_op(K::CreateModel, "Shelf"), 1));
    cases.back().ops.push_back(at_line(separate_op(std::move(inner), false), 1));
    cases.back().ops.push_back(at_line(constraint_op("shelf", CK::Check), 2));
    cases.back().ops.push_back(at_line(constraint_op("book", CK::Check), 3));
  }

  auto rule = make_non_concurrent_add_constraint();
  for (Case& c : cases) {
    auto d = check_rule(*rule, make_migration(c.framework, std::move(c.ops)));
    EXPECT_EQ(lines_of(d), c.reported) << c.name;
  }
}

TEST(ConstraintRules, Descriptions) {
  auto r002 = make_unique_constraint_without_index();
  auto r017 = make_non_concurrent_add_constraint();
  EXPECT_EQ(r002->id(), "R002");
  EXPECT_EQ(r017->id(), "R017");
  EXPECT_EQ(r017->name(), "non-concurrent-add-constraint");
  EXPECT_TRUE(r002->is_error());
  EXPECT_TRUE(r017->is_error());
  EXPECT_NE(r002->description().find("cannot reuse a pre-built index \u2014 issue"), std::string_view::npos);
  EXPECT_NE(r017->description().find("stock PostgreSQL \u2014 defer"), std::string_view::npos);
}

}  // namespace
}  // namespace tarn
