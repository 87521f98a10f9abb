#include "rules/operation_rules.h"

#include <algorithm>
#include <string>
#include <utility>

namespace tarn {

namespace {

// TODO(rules2): replace with the shared diagnostic helper.
template <class AnyRule>
Diagnostic make_diagnostic(const AnyRule& rule, Severity severity, std::string_view path, const Span& span,
                           std::string message, std::string help) {
  return Diagnostic{rule.id(), rule.name(), std::move(message), severity, std::string(path), span, std::move(help)};
}

// Fills the one "{}" of a message template.
std::string fill(std::string_view templ, std::string_view value) {
  std::string out(templ);
  if (auto at = out.find("{}"); at != std::string::npos) out.replace(at, 2, value);
  return out;
}

std::string_view django_or_other(Framework framework, std::string_view django, std::string_view other) {
  return framework == Framework::Django ? django : other;
}

class RemoveFieldWithoutSeparate final : public Rule {
 public:
  std::string_view id() const override { return "R005"; }
  std::string_view name() const override { return "remove-field-without-separate"; }
  std::string_view description() const override {
    return "RemoveField should be wrapped in SeparateDatabaseAndState to separate the schema change from Django's "
           "state. First remove from Django state, deploy, then drop the column in a separate migration.";
  }
  bool is_error() const override { return true; }

  std::vector<Diagnostic> check(const ParsedMigration& migration, const RuleContext& ctx) const override {
    std::vector<Diagnostic> out;
    // Top level only: a drop inside SeparateDatabaseAndState is the safe form.
    for (const Operation& op : migration.operations) {
      if (op.kind != OperationKind::RemoveField) continue;
      bool django = migration.framework == Framework::Django;
      out.push_back(make_diagnostic(*this, Severity::Error, ctx.path, op.span,
                                    std::string(django ? kDjangoMessage : kOtherMessage),
                                    std::string(django ? kDjangoHelp : kOtherHelp)));
    }
    return out;
  }

 private:
  static constexpr std::string_view kDjangoMessage = "RemoveField without SeparateDatabaseAndState can cause errors";
  static constexpr std::string_view kDjangoHelp =
      "Wrap RemoveField in SeparateDatabaseAndState. First migration removes from state (state_operations), deploy "
      "the app, then second migration drops the column (database_operations).";
  static constexpr std::string_view kOtherMessage = "Dropping a column can break running application code";
  static constexpr std::string_view kOtherHelp =
      "Deploy code that no longer reads the column before a later drop-column migration.";
};

class RenameField final : public Rule {
 public:
  std::string_view id() const override { return "R011"; }
  std::string_view name() const override { return "rename-field"; }
  std::string_view description() const override {
    return "RenameField is dangerous as it requires simultaneous deployment of application code changes. Consider "
           "adding a new field, backfilling, then removing the old one.";
  }
  bool is_error() const override { return true; }

  std::vector<Diagnostic> check(const ParsedMigration& migration, const RuleContext& ctx) const override {
    std::vector<Diagnostic> out;
    for (const Operation* op : tested_operations(migration.operations)) {
      if (op->kind != OperationKind::RenameField) continue;
      out.push_back(make_diagnostic(*this, Severity::Error, ctx.path, op->span,
                                    std::string(django_or_other(migration.framework, kDjangoMessage, kOtherMessage)),
                                    std::string(kHelp)));
    }
    return out;
  }

 private:
  static constexpr std::string_view kDjangoMessage = "RenameField requires simultaneous application deployment";
  static constexpr std::string_view kOtherMessage = "Renaming a column requires simultaneous application deployment";
  static constexpr std::string_view kHelp =
      "Consider: 1) Add new field, 2) Copy data, 3) Update app to use new field, 4) Remove old field. This allows "
      "gradual rollout.";
};

class IrreversibleRunPython final : public Rule {
 public:
  std::string_view id() const override { return "R012"; }
  std::string_view name() const override { return "irreversible-run-python"; }
  std::string_view description() const override {
    return "RunPython without a reverse function makes the migration irreversible. Always provide a reverse "
           "function or use migrations.RunPython.noop.";
  }
  bool is_error() const override { return false; }

  std::vector<Diagnostic> check(const ParsedMigration& migration, const RuleContext& ctx) const override {
    std::vector<Diagnostic> out;
    for (const Operation* op : tested_operations(migration.operations)) {
      if (op->kind != OperationKind::RunPython) continue;
      const auto* python = std::get_if<payload::Python>(&op->payload);
      if (python == nullptr || python->reverse_code) continue;
      out.push_back(make_diagnostic(*this, Severity::Warning, ctx.path, op->span, fill(kMessage, python->code),
                                    std::string(kHelp)));
    }
    return out;
  }

 private:
  static constexpr std::string_view kMessage = "RunPython '{}' has no reverse function";
  static constexpr std::string_view kHelp =
      "Add a reverse function: RunPython(forward, reverse) or use RunPython(forward, migrations.RunPython.noop) if "
      "no reverse is needed";
};

class IrreversibleRunSql final : public Rule {
 public:
  std::string_view id() const override { return "R013"; }
  std::string_view name() const override { return "irreversible-run-sql"; }
  std::string_view description() const override {
    return "RunSQL without reverse_sql makes the migration irreversible. Always provide reverse_sql or use "
           "migrations.RunSQL.noop.";
  }
  bool is_error() const override { return false; }

  std::vector<Diagnostic> check(const ParsedMigration& migration, const RuleContext& ctx) const override {
    std::vector<Diagnostic> out;
    for (const Operation* op : tested_operations(migration.operations)) {
      // A plain statement has no reverse to give, so only RunSQL is judged;
      // an empty reverse (the no-op marker) counts as given.
      if (op->kind != OperationKind::RunSQL) continue;
      const auto* sql = std::get_if<payload::Sql>(&op->payload);
      if (sql == nullptr || sql->reverse_sql) continue;
      out.push_back(make_diagnostic(*this, Severity::Warning, ctx.path, op->span, std::string(kMessage),
                                    std::string(kHelp)));
    }
    return out;
  }

 private:
  static constexpr std::string_view kMessage = "RunSQL has no reverse_sql";
  static constexpr std::string_view kHelp =
      "Add reverse_sql parameter: RunSQL(sql, reverse_sql) or use RunSQL(sql, migrations.RunSQL.noop) if no "
      "reverse is needed";
};

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

class ModelImports final : public Rule {
 public:
  std::string_view id() const override { return "R014"; }
  std::string_view name() const override { return "model-imports"; }
  std::string_view description() const override {
    return "Direct model imports in migrations can cause issues because the model's current state may differ from "
           "its historical state. Use apps.get_model() instead.";
  }
  bool is_error() const override { return true; }

  std::vector<Diagnostic> check(const ParsedMigration& migration, const RuleContext& ctx) const override {
    std::vector<Diagnostic> out;
    for (const ModuleImport& import : migration.imports) {
      if (!import.module || !is_models_module(*import.module) || !imports_model_name(import.names)) continue;
      out.push_back(make_diagnostic(*this, Severity::Error, ctx.path, import.span, std::string(kMessage),
                                    std::string(kHelp)));
    }
    return out;
  }

 private:
  static constexpr std::string_view kMessage = "Direct model import found in migration";
  static constexpr std::string_view kHelp =
      "Use apps.get_model('app_name', 'ModelName') in RunPython to get the historical model state instead of "
      "importing directly";
};

class AlterFieldNotNull final : public Rule {
 public:
  std::string_view id() const override { return "R015"; }
  std::string_view name() const override { return "alter-field-not-null"; }
  std::string_view description() const override {
    return "AlterField that ends up NOT NULL may scan every row, and a type change may rewrite the table. Verify the "
           "column was already NOT NULL, or migrate via a four-step pattern: NOT VALID CHECK, VALIDATE CONSTRAINT, "
           "SET NOT NULL, DROP CONSTRAINT.";
  }
  bool is_error() const override { return false; }

  std::vector<Diagnostic> check(const ParsedMigration& migration, const RuleContext& ctx) const override {
    std::vector<Diagnostic> out;
    for (const Operation* op : tested_operations(migration.operations)) {
      if (op->kind != OperationKind::AlterField) continue;
      const auto* field = std::get_if<payload::Field>(&op->payload);
      if (field == nullptr || !field->flags) continue;
      // A type change may rewrite the table whatever the nullability.
      if (field->flags->type_changed) {
        out.push_back(make_diagnostic(*this, Severity::Warning, ctx.path, op->span,
                                      fill(kTypeMessage, field->name), std::string(kTypeHelp)));
      } else if (!field->flags->null) {
        auto message = django_or_other(migration.framework, kDjangoNotNullMessage, kOtherNotNullMessage);
        out.push_back(make_diagnostic(*this, Severity::Warning, ctx.path, op->span, fill(message, field->name),
                                      std::string(kNotNullHelp)));
      }
    }
    return out;
  }

 private:
  static constexpr std::string_view kTypeMessage = "Changing '{}' column type may require a table rewrite";
  static constexpr std::string_view kTypeHelp =
      "Use an additive column, backfill it, and switch application reads before removing the old column.";
  static constexpr std::string_view kDjangoNotNullMessage =
      "AlterField '{}' results in a NOT NULL column (may require a full table scan)";
  static constexpr std::string_view kOtherNotNullMessage = "Changing '{}' to NOT NULL may require a full table scan";
  static constexpr std::string_view kNotNullHelp =
      "If the column was already NOT NULL (e.g. you're only changing max_length or help_text), this is safe \u2014 "
      "add `# tarn: ignore R015` to suppress.\n"
      "\n"
      "If this is a genuine nullable \u2192 NOT NULL transition, use the four-step pattern. Pick a stable "
      "constraint name like `<table>_<col>_not_null` so step 4 can DROP it precisely (PostgreSQL ALTER TABLE ADD "
      "CONSTRAINT has no IF NOT EXISTS, so partially-applied migrations need to be cleaned up before re-running):\n"
      "  1. ALTER TABLE ... ADD CONSTRAINT <table>_<col>_not_null CHECK (col IS NOT NULL) NOT VALID;\n"
      "  2. ALTER TABLE ... VALIDATE CONSTRAINT <table>_<col>_not_null;  -- table-scan without blocking writes\n"
      "  3. ALTER TABLE ... ALTER COLUMN col SET NOT NULL;  -- PostgreSQL 12+: catalog-only, no scan, because the "
      "validated CHECK proves no NULLs. On 11 and earlier, SET NOT NULL still scans the table, weakening (but not "
      "eliminating) the benefit: VALIDATE in step 2 still runs under SHARE UPDATE EXCLUSIVE, allowing concurrent "
      "reads and writes; only the final SET NOT NULL takes the blocking lock.\n"
      "  4. ALTER TABLE ... DROP CONSTRAINT <table>_<col>_not_null;  -- recommended cleanup; the CHECK is subsumed "
      "by NOT NULL, but keeping both forces every INSERT to re-evaluate the predicate\n";
};

}  // namespace

std::vector<const Operation*> tested_operations(const std::vector<Operation>& operations) {
  std::vector<const Operation*> out;
  // An explicit stack keeps deeply nested wrappers off the call stack.
  std::vector<std::pair<const std::vector<Operation>*, size_t>> stack{{&operations, 0}};
  while (!stack.empty()) {
    auto& [list, index] = stack.back();
    if (index == list->size()) {
      stack.pop_back();
      continue;
    }
    const Operation& op = (*list)[index++];
    if (const auto* separate = std::get_if<payload::SeparateDatabaseAndState>(&op.payload)) {
      stack.emplace_back(&separate->database_operations, 0);
    } else {
      out.push_back(&op);
    }
  }
  return out;
}

std::unique_ptr<Rule> make_remove_field_without_separate() { return std::make_unique<RemoveFieldWithoutSeparate>(); }
std::unique_ptr<Rule> make_rename_field() { return std::make_unique<RenameField>(); }
std::unique_ptr<Rule> make_irreversible_run_python() { return std::make_unique<IrreversibleRunPython>(); }
std::unique_ptr<Rule> make_irreversible_run_sql() { return std::make_unique<IrreversibleRunSql>(); }
std::unique_ptr<Rule> make_model_imports() { return std::make_unique<ModelImports>(); }
std::unique_ptr<Rule> make_alter_field_not_null() { return std::make_unique<AlterFieldNotNull>(); }

}  // namespace tarn
