#include "rules/field_rules.h"

#include <string>

#include "rules/rule_support.h"
#include "rules/walker.h"

namespace tarn {

namespace {

// The field an AddField operation adds; null for anything else.
const payload::Field* added_field(const Operation& operation) {
  if (operation.kind != OperationKind::AddField) return nullptr;
  return std::get_if<payload::Field>(&operation.payload);
}

constexpr RuleDescription kAddFieldForeignKey{
    "R006", "add-field-foreign-key",
    "Adding a foreign-key column to an existing table creates an implicit index (locking the table while it "
    "builds) and validates the FK constraint against every existing row. Split the rollout.",
    true};

class AddFieldForeignKey final : public DescribedRule<WalkerRule, kAddFieldForeignKey> {
 public:
  void test(const Operation& operation, const TableTracker& tracker, WalkContext& ctx) const override {
    const auto* field = added_field(operation);
    if (field == nullptr || !field->flags || !field->flags->foreign_key) return;
    // A ForeignKey with neither constraint nor index is a plain column.
    const FieldFlags& f = *field->flags;
    if (f.is_foreign_key_class && !f.db_constraint && f.db_index_false && !f.unique) return;
    if (is_created_here(ctx.migration.framework, operation, tracker)) return;
    ctx.report(operation.span, kTexts, Severity::Error, field->model);
  }

 private:
  static constexpr RuleText kSqlText{
      "Adding a foreign-key column to existing table '{}' can lock it",
      "Add the column as nullable, backfill it, then add the foreign key as NOT VALID and validate it in a later "
      "migration."};
  static constexpr FrameworkTexts kTexts{
      .django = {"AddField with ForeignKey on existing model '{}'",
                 "Split the operation via SeparateDatabaseAndState instead of adding the ForeignKey in one AddField "
                 "on an existing table.\n"
                 "\n"
                 "Pre-creating an index with AddIndexConcurrently is no longer treated as sufficient to silence R006. "
                 "It can help query plans, but the AddField(ForeignKey) operation still couples column creation, "
                 "implicit index/constraint work, and FK validation into one deployment step.\n"
                 "\n"
                 "A safer rollout is: add the column without the FK constraint, backfill if needed, build supporting "
                 "indexes concurrently, then add/validate the constraint separately while keeping Django state "
                 "aligned.\n"},
      .alembic = kSqlText,
      .aerich = kSqlText,
  };
};

constexpr RuleDescription kAddFieldNotNull{
    "R010", "add-field-not-null",
    "AddField with NOT NULL and no Python or database default requires rewriting all rows immediately. Add "
    "the field as nullable first, backfill data, then make it NOT NULL.",
    true};

class AddFieldNotNull final : public DescribedRule<WalkerRule, kAddFieldNotNull> {
 public:
  void test(const Operation& operation, const TableTracker& tracker, WalkContext& ctx) const override {
    const auto* field = added_field(operation);
    if (field == nullptr || is_created_here(ctx.migration.framework, operation, tracker)) return;
    const auto& f = field->flags;
    if (!f || f->null || f->has_default || f->has_db_default) return;
    ctx.report(operation.span, kTexts, Severity::Error, field->name);
  }

 private:
  static constexpr RuleText kShared{
      "AddField '{}' is NOT NULL without a Python or database default",
      "Either: 1) Add the field as nullable with null=True, backfill, then remove null=True in a separate migration, "
      "or 2) Provide a default value. A recognized db_default avoids this warning but is not a universal "
      "zero-downtime guarantee."};
  static constexpr FrameworkTexts kTexts{
      .django = kShared,
      .alembic = kShared,
      .aerich = {"Adding '{}' as NOT NULL without a default can rewrite the table",
                 "Add the column as nullable, backfill it, then set NOT NULL in a later Aerich migration."},
  };
};

// Whether Django builds an index (or unique index) for this operation.
bool builds_django_index(const Operation& operation) {
  if (const auto* field = std::get_if<payload::Field>(&operation.payload)) {
    bool add_or_alter = operation.kind == OperationKind::AddField || operation.kind == OperationKind::AlterField;
    return add_or_alter && field->flags && (field->flags->db_index || field->flags->unique);
  }
  if (const auto* together = std::get_if<payload::UniqueTogether>(&operation.payload)) {
    return operation.kind == OperationKind::AlterUniqueTogether && together->has_entries;
  }
  if (const auto* together = std::get_if<payload::IndexTogether>(&operation.payload)) {
    return operation.kind == OperationKind::AlterIndexTogether && together->has_entries;
  }
  return false;
}

constexpr RuleDescription kImplicitDjangoIndex{
    "R018", "implicit-django-index",
    "Django field uniqueness and indexes are built non-concurrently on existing tables.", true};

class ImplicitDjangoIndex final : public DescribedRule<WalkerRule, kImplicitDjangoIndex> {
 public:
  std::vector<Diagnostic> check(const ParsedMigration& migration, const RuleContext& ctx) const override {
    if (migration.framework != Framework::Django) return {};
    return WalkerRule::check(migration, ctx);
  }

  void test(const Operation& operation, const TableTracker& tracker, WalkContext& ctx) const override {
    if (is_created_here(ctx.migration.framework, operation, tracker) || !builds_django_index(operation)) return;
    // Altering a field that may already carry the index is less certain.
    Severity severity = operation.kind == OperationKind::AlterField ? Severity::Warning : Severity::Error;
    ctx.report(operation.span, kTexts, severity);
  }

 private:
  static constexpr RuleText kText{
      "Django operation creates an index non-concurrently on an existing table",
      "Build the index concurrently in a separate migration and use SeparateDatabaseAndState to keep Django state "
      "aligned."};
  static constexpr FrameworkTexts kTexts{.django = kText, .alembic = kText, .aerich = kText};
};

}  // namespace

std::unique_ptr<Rule> make_add_field_foreign_key() { return std::make_unique<AddFieldForeignKey>(); }
std::unique_ptr<Rule> make_add_field_not_null() { return std::make_unique<AddFieldNotNull>(); }
std::unique_ptr<Rule> make_implicit_django_index() { return std::make_unique<ImplicitDjangoIndex>(); }

}  // namespace tarn
