#include "rules/operation_rules.h"

#include <algorithm>
#include <optional>
#include <string>
#include <variant>

#include "rules/rule_support.h"

namespace tarn {

namespace {

// ---- R005 ----

constexpr RuleDescription kRemoveField{
    "R005", "remove-field-without-separate",
    "RemoveField should be wrapped in SeparateDatabaseAndState to separate the schema change from Django's state. "
    "First remove from Django state, deploy, then drop the column in a separate migration.",
    true};

constexpr RuleText kDropColumn{"Dropping a column can break running application code",
                               "Deploy code that no longer reads the column before a later drop-column migration."};
constexpr FrameworkTexts kRemoveFieldTexts{
    .django = {"RemoveField without SeparateDatabaseAndState can cause errors",
               "Wrap RemoveField in SeparateDatabaseAndState. First migration removes from state (state_operations), "
               "deploy the app, then second migration drops the column (database_operations)."},
    .alembic = kDropColumn,
    .aerich = kDropColumn,
};

class RemoveFieldWithoutSeparate final : public DescribedRule<Rule, kRemoveField> {
 public:
  std::vector<Diagnostic> check(const ParsedMigration& migration, const RuleContext& ctx) const override {
    // Top level only: a drop inside SeparateDatabaseAndState is the safe form.
    const auto judge = [&](const Operation& op) -> std::optional<Finding> {
      if (op.kind != OperationKind::RemoveField) return std::nullopt;
      return Finding{kRemoveFieldTexts[migration.framework]};
    };
    return report_each(*this, Severity::Error, ctx, migration.operations, judge);
  }
};

// ---- R011 ----

constexpr RuleDescription kRenameField{
    "R011", "rename-field",
    "RenameField is dangerous as it requires simultaneous deployment of application code changes. Consider adding "
    "a new field, backfilling, then removing the old one.",
    true};

constexpr std::string_view kRenameFieldHelp =
    "Consider: 1) Add new field, 2) Copy data, 3) Update app to use new field, 4) Remove old field. This allows "
    "gradual rollout.";
constexpr RuleText kRenameColumn{"Renaming a column requires simultaneous application deployment", kRenameFieldHelp};
constexpr FrameworkTexts kRenameFieldTexts{
    .django = {"RenameField requires simultaneous application deployment", kRenameFieldHelp},
    .alembic = kRenameColumn,
    .aerich = kRenameColumn,
};

class RenameField final : public DescribedRule<Rule, kRenameField> {
 public:
  std::vector<Diagnostic> check(const ParsedMigration& migration, const RuleContext& ctx) const override {
    const auto judge = [&](const Operation& op) -> std::optional<Finding> {
      if (op.kind != OperationKind::RenameField) return std::nullopt;
      return Finding{kRenameFieldTexts[migration.framework]};
    };
    return report_each(*this, Severity::Error, ctx, tested_operations(migration.operations), judge);
  }
};

// ---- R012 ----

constexpr RuleDescription kRunPython{
    "R012", "irreversible-run-python",
    "RunPython without a reverse function makes the migration irreversible. Always provide a reverse function or use "
    "migrations.RunPython.noop.",
    false};

constexpr RuleText kRunPythonText{
    "RunPython '{}' has no reverse function",
    "Add a reverse function: RunPython(forward, reverse) or use RunPython(forward, migrations.RunPython.noop) if no "
    "reverse is needed"};

class IrreversibleRunPython final : public DescribedRule<Rule, kRunPython> {
 public:
  std::vector<Diagnostic> check(const ParsedMigration& migration, const RuleContext& ctx) const override {
    const auto judge = [](const Operation& op) -> std::optional<Finding> {
      if (op.kind != OperationKind::RunPython) return std::nullopt;
      const auto* python = std::get_if<payload::Python>(&op.payload);
      if (python == nullptr || python->reverse_code) return std::nullopt;
      return Finding{kRunPythonText, python->code};
    };
    return report_each(*this, Severity::Warning, ctx, tested_operations(migration.operations), judge);
  }
};

// ---- R013 ----

constexpr RuleDescription kRunSql{
    "R013", "irreversible-run-sql",
    "RunSQL without reverse_sql makes the migration irreversible. Always provide reverse_sql or use "
    "migrations.RunSQL.noop.",
    false};

constexpr RuleText kRunSqlText{
    "RunSQL has no reverse_sql",
    "Add reverse_sql parameter: RunSQL(sql, reverse_sql) or use RunSQL(sql, migrations.RunSQL.noop) if no reverse "
    "is needed"};

class IrreversibleRunSql final : public DescribedRule<Rule, kRunSql> {
 public:
  std::vector<Diagnostic> check(const ParsedMigration& migration, const RuleContext& ctx) const override {
    const auto judge = [](const Operation& op) -> std::optional<Finding> {
      // A plain statement has no reverse to give, so only RunSQL is judged;
      // an empty reverse (the no-op marker) counts as given.
      if (op.kind != OperationKind::RunSQL) return std::nullopt;
      const auto* sql = std::get_if<payload::Sql>(&op.payload);
      if (sql == nullptr || sql->reverse_sql) return std::nullopt;
      return Finding{kRunSqlText};
    };
    return report_each(*this, Severity::Warning, ctx, tested_operations(migration.operations), judge);
  }
};

// ---- R014 ----

constexpr RuleDescription kModelImports{
    "R014", "model-imports",
    "Direct model imports in migrations can cause issues because the model's current state may differ from its "
    "historical state. Use apps.get_model() instead.",
    true};

constexpr RuleText kModelImportsText{
    "Direct model import found in migration",
    "Use apps.get_model('app_name', 'ModelName') in RunPython to get the historical model state instead of "
    "importing directly"};

// An app's models module, absolute or relative, but not Django's own.
bool is_models_module(std::string_view module) {
  std::string_view rest = module.substr(std::min(module.find_first_not_of('.'), module.size()));
  bool qualifies = rest == "models" || (rest.size() > 6 && module.ends_with(".models"));
  return qualifies && !module.starts_with("django.");
}

// Model classes are capitalised; a wildcard may bring them in too.
bool imports_model_name(const std::vector<std::string>& names) {
  return std::any_of(names.begin(), names.end(), [](const std::string& name) {
    return name == "*" || (!name.empty() && name[0] >= 'A' && name[0] <= 'Z');
  });
}

class ModelImports final : public DescribedRule<Rule, kModelImports> {
 public:
  std::vector<Diagnostic> check(const ParsedMigration& migration, const RuleContext& ctx) const override {
    const auto judge = [](const ModuleImport& import) -> std::optional<Finding> {
      if (!import.module || !is_models_module(*import.module) || !imports_model_name(import.names)) return std::nullopt;
      return Finding{kModelImportsText};
    };
    return report_each(*this, Severity::Error, ctx, migration.imports, judge);
  }
};

// ---- R015 ----

constexpr RuleDescription kAlterFieldNotNull{
    "R015", "alter-field-not-null",
    "AlterField that ends up NOT NULL may scan every row, and a type change may rewrite the table. Verify the column "
    "was already NOT NULL, or migrate via a four-step pattern: NOT VALID CHECK, VALIDATE CONSTRAINT, SET NOT NULL, "
    "DROP CONSTRAINT.",
    false};

constexpr RuleText kTypeChange{
    "Changing '{}' column type may require a table rewrite",
    "Use an additive column, backfill it, and switch application reads before removing the old column."};

constexpr std::string_view kNotNullHelp =
    "If the column was already NOT NULL (e.g. you're only changing max_length or help_text), this is safe \u2014 add "
    "`# tarn: ignore R015` to suppress.\n"
    "\n"
    "If this is a genuine nullable \u2192 NOT NULL transition, use the four-step pattern. Pick a stable constraint "
    "name like `<table>_<col>_not_null` so step 4 can DROP it precisely (PostgreSQL ALTER TABLE ADD CONSTRAINT has no "
    "IF NOT EXISTS, so partially-applied migrations need to be cleaned up before re-running):\n"
    "  1. ALTER TABLE ... ADD CONSTRAINT <table>_<col>_not_null CHECK (col IS NOT NULL) NOT VALID;\n"
    "  2. ALTER TABLE ... VALIDATE CONSTRAINT <table>_<col>_not_null;  -- table-scan without blocking writes\n"
    "  3. ALTER TABLE ... ALTER COLUMN col SET NOT NULL;  -- PostgreSQL 12+: catalog-only, no scan, because the "
    "validated CHECK proves no NULLs. On 11 and earlier, SET NOT NULL still scans the table, weakening (but not "
    "eliminating) the benefit: VALIDATE in step 2 still runs under SHARE UPDATE EXCLUSIVE, allowing concurrent reads "
    "and writes; only the final SET NOT NULL takes the blocking lock.\n"
    "  4. ALTER TABLE ... DROP CONSTRAINT <table>_<col>_not_null;  -- recommended cleanup; the CHECK is subsumed by "
    "NOT NULL, but keeping both forces every INSERT to re-evaluate the predicate\n";
constexpr RuleText kColumnNotNull{"Changing '{}' to NOT NULL may require a full table scan", kNotNullHelp};
constexpr FrameworkTexts kNotNullTexts{
    .django = {"AlterField '{}' results in a NOT NULL column (may require a full table scan)", kNotNullHelp},
    .alembic = kColumnNotNull,
    .aerich = kColumnNotNull,
};

class AlterFieldNotNull final : public DescribedRule<Rule, kAlterFieldNotNull> {
 public:
  std::vector<Diagnostic> check(const ParsedMigration& migration, const RuleContext& ctx) const override {
    const auto judge = [&](const Operation& op) -> std::optional<Finding> {
      if (op.kind != OperationKind::AlterField) return std::nullopt;
      const auto* field = std::get_if<payload::Field>(&op.payload);
      if (field == nullptr || !field->flags) return std::nullopt;
      // A type change may rewrite the table whatever the nullability.
      if (field->flags->type_changed) return Finding{kTypeChange, field->name};
      if (!field->flags->null) return Finding{kNotNullTexts[migration.framework], field->name};
      return std::nullopt;
    };
    return report_each(*this, Severity::Warning, ctx, tested_operations(migration.operations), judge);
  }
};

}  // namespace

std::unique_ptr<Rule> make_remove_field_without_separate() { return std::make_unique<RemoveFieldWithoutSeparate>(); }
std::unique_ptr<Rule> make_rename_field() { return std::make_unique<RenameField>(); }
std::unique_ptr<Rule> make_irreversible_run_python() { return std::make_unique<IrreversibleRunPython>(); }
std::unique_ptr<Rule> make_irreversible_run_sql() { return std::make_unique<IrreversibleRunSql>(); }
std::unique_ptr<Rule> make_model_imports() { return std::make_unique<ModelImports>(); }
std::unique_ptr<Rule> make_alter_field_not_null() { return std::make_unique<AlterFieldNotNull>(); }

}  // namespace tarn
