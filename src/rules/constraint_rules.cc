#include "rules/constraint_rules.h"

#include "rules/rule_support.h"
#include "rules/walker.h"

namespace tarn {

namespace {

// The constraint an AddConstraint operation adds to a table that existed
// before this migration; null for anything else.
const payload::Constraint* constraint_on_existing_table(const Operation& operation, const TableTracker& tracker,
                                                        const WalkContext& ctx) {
  if (operation.kind != OperationKind::AddConstraint) return nullptr;
  const auto* constraint = std::get_if<payload::Constraint>(&operation.payload);
  if (constraint == nullptr || is_created_here(ctx.migration.framework, operation, tracker)) return nullptr;
  return constraint;
}

constexpr RuleDescription kUniqueConstraint{
    "R002", "unique-constraint-without-index",
    "AddConstraint with a UniqueConstraint builds the constraint's index non-concurrently, locking the table "
    "for the duration of the scan. Django's AddConstraint cannot reuse a pre-built index \u2014 issue the "
    "constraint via RunSQL instead so it can attach to a concurrently created index.",
    true};

class UniqueConstraintWithoutIndex final : public DescribedRule<WalkerRule, kUniqueConstraint> {
 public:
  void test(const Operation& operation, const TableTracker& tracker, WalkContext& ctx) const override {
    const auto* constraint = constraint_on_existing_table(operation, tracker, ctx);
    if (constraint == nullptr || constraint->constraint_kind != ConstraintKind::Unique) return;
    // A condition, expressions or included columns rule out attaching an
    // index as a constraint, so the advice differs.
    if (ctx.migration.framework == Framework::Django && constraint->non_plain_unique) {
      ctx.report(operation.span, kNonPlainTexts);
    } else {
      ctx.report(operation.span, kTexts);
    }
  }

 private:
  static constexpr RuleText kAlembic{
      "Alembic create_unique_constraint locks the table while it builds the index",
      "Create a UNIQUE INDEX CONCURRENTLY inside an autocommit block, then attach it with ALTER TABLE ... ADD "
      "CONSTRAINT ... UNIQUE USING INDEX."};
  static constexpr RuleText kAerich{
      "Aerich UNIQUE constraint builds its index while locking the table",
      "Create a UNIQUE INDEX CONCURRENTLY, then attach it with ALTER TABLE ... ADD CONSTRAINT ... UNIQUE USING INDEX "
      "in a later Aerich migration."};
  static constexpr FrameworkTexts kTexts{
      .django = {"AddConstraint with UniqueConstraint locks the table while it builds the index",
                 "Django's AddConstraint cannot reuse a pre-built index. To avoid the lock, build the index "
                 "concurrently first and attach it via two RunSQL operations, wrapped in SeparateDatabaseAndState so "
                 "Django's model state still records the constraint (otherwise the next `makemigrations` regenerates "
                 "this AddConstraint and re-introduces the lock):\n"
                 "\n"
                 "  SeparateDatabaseAndState(\n"
                 "      state_operations=[\n"
                 "          migrations.AddConstraint(\n"
                 "              model_name='<table>',\n"
                 "              constraint=models.UniqueConstraint(fields=[<cols>], name='<name>'),\n"
                 "          ),\n"
                 "      ],\n"
                 "      database_operations=[\n"
                 "          migrations.RunSQL('CREATE UNIQUE INDEX CONCURRENTLY <name> ON <table> (<cols>);'),\n"
                 "          migrations.RunSQL('ALTER TABLE <table> ADD CONSTRAINT <name> UNIQUE USING INDEX "
                 "<name>;'),\n"
                 "      ],\n"
                 "  )\n"
                 "\n"
                 "Two RunSQL operations are required because `CREATE INDEX CONCURRENTLY` must run outside a "
                 "transaction; bundling both statements in one RunSQL would still be a single transaction. Set "
                 "`atomic = False` on the migration so RunSQL doesn't open one.\n"},
      .alembic = kAlembic,
      .aerich = kAerich,
  };
  static constexpr FrameworkTexts kNonPlainTexts{
      .django = {"AddConstraint with this UniqueConstraint locks the table while it builds the index",
                 "Non-plain unique indexes cannot be attached as PostgreSQL constraints. Build the unique index "
                 "concurrently in `database_operations`, and record the `UniqueConstraint` only in "
                 "`state_operations` through `SeparateDatabaseAndState` so Django's state remains aligned.\n"
                 "\n"
                 "Set `atomic = False` on the migration because `CREATE UNIQUE INDEX CONCURRENTLY` must run outside "
                 "a transaction.\n"},
      .alembic = kAlembic,
      .aerich = kAerich,
  };
};

constexpr RuleDescription kAddConstraint{
    "R017", "non-concurrent-add-constraint",
    "AddConstraint with a CHECK or EXCLUDE constraint locks the table \u2014 CHECK validates every row, "
    "EXCLUDE builds its enforcement index non-concurrently. Migrate CHECK via NOT VALID + VALIDATE. EXCLUDE "
    "has no fully-online path in stock PostgreSQL \u2014 defer it to a low-traffic window.",
    true};

class NonConcurrentAddConstraint final : public DescribedRule<WalkerRule, kAddConstraint> {
 public:
  void test(const Operation& operation, const TableTracker& tracker, WalkContext& ctx) const override {
    const auto* constraint = constraint_on_existing_table(operation, tracker, ctx);
    if (constraint == nullptr) return;
    const auto kind = constraint->constraint_kind;
    // NOT VALID skips the scan of existing rows; Django's AddConstraint has
    // no such form, so only the SQL-level frameworks are excused.
    if (ctx.migration.framework != Framework::Django && constraint->not_valid &&
        (kind == ConstraintKind::ForeignKey || kind == ConstraintKind::Check)) {
      return;
    }
    switch (kind) {
      case ConstraintKind::ForeignKey: ctx.report(operation.span, kForeignKeyTexts); break;
      case ConstraintKind::Check: ctx.report(operation.span, kCheckTexts); break;
      case ConstraintKind::Exclusion: ctx.report(operation.span, kExclusionTexts); break;
      case ConstraintKind::Unique:  // R002's
      case ConstraintKind::Other: break;
    }
  }

 private:
  static constexpr RuleText kForeignKey{
      "Adding a FOREIGN KEY validates all existing rows",
      "Add the foreign key as NOT VALID, validate it separately, then enforce it after the application is ready."};
  static constexpr FrameworkTexts kForeignKeyTexts{
      .django = kForeignKey, .alembic = kForeignKey, .aerich = kForeignKey};

  static constexpr RuleText kSqlCheck{"Adding a CHECK constraint validates all existing rows",
                                      "Add the constraint as NOT VALID, then validate it in a later revision."};
  static constexpr FrameworkTexts kCheckTexts{
      .django = {"AddConstraint with a CHECK constraint validates all rows",
                 "Use RunSQL to add the constraint with NOT VALID, then validate in a separate migration:\n"
                 "  ALTER TABLE ... ADD CONSTRAINT <name> CHECK (...) NOT VALID;\n"
                 "  ALTER TABLE ... VALIDATE CONSTRAINT <name>;  -- table-scan without blocking writes\n"},
      .alembic = kSqlCheck,
      .aerich = kSqlCheck,
  };

  static constexpr RuleText kSqlExclusion{
      "Adding an EXCLUDE constraint builds its index non-concurrently, locking the table",
      "PostgreSQL has no fully-online EXCLUDE constraint path; create it with a new table or use a low-traffic "
      "window."};
  static constexpr FrameworkTexts kExclusionTexts{
      .django = {"AddConstraint with an EXCLUDE constraint builds its index non-concurrently, locking the table",
                 "PostgreSQL has no NOT VALID form for EXCLUDE constraints, and `ALTER TABLE ... ADD CONSTRAINT ... "
                 "EXCLUDE USING gist` always builds its own index under ACCESS EXCLUSIVE \u2014 `USING INDEX` is "
                 "accepted only for UNIQUE and PRIMARY KEY, not EXCLUDE.\n"
                 "\n"
                 "There is no fully-online path in stock PostgreSQL. Mitigations:\n"
                 "  - Defer the migration to a low-traffic window.\n"
                 "  - Define the constraint at table creation (CreateModel) if the table is new.\n"
                 "  - Enforce the rule with a trigger instead of a constraint while the table is live.\n"
                 "\n"
                 "If you accept the lock anyway, run with `atomic = False` and `SET lock_timeout` so a queued reader "
                 "doesn't block all writes indefinitely.\n"},
      .alembic = kSqlExclusion,
      .aerich = kSqlExclusion,
  };
};

}  // namespace

std::unique_ptr<Rule> make_unique_constraint_without_index() {
  return std::make_unique<UniqueConstraintWithoutIndex>();
}
std::unique_ptr<Rule> make_non_concurrent_add_constraint() { return std::make_unique<NonConcurrentAddConstraint>(); }

}  // namespace tarn
