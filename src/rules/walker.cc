#include "rules/walker.h"

#include <type_traits>
#include <utility>
#include <variant>

#include "util/unicode_case.h"

namespace tarn {

void WalkContext::report(const Span& span, const FrameworkTexts& texts, Severity severity,
                         std::optional<std::string_view> name) {
  diagnostics.push_back(make_diagnostic(rule, severity, path, span, texts[migration.framework], name));
}

namespace {

// The Django model an operation is about, by payload; none for SQL, Python,
// SeparateDatabaseAndState and empty payloads.
std::optional<std::string_view> operation_model_name(const Operation& operation) {
  return std::visit(
      [](const auto& p) -> std::optional<std::string_view> {
        using P = std::decay_t<decltype(p)>;
        if constexpr (std::is_same_v<P, payload::Model>) {
          return p.name;
        } else if constexpr (std::is_same_v<P, payload::Index> || std::is_same_v<P, payload::Field> ||
                             std::is_same_v<P, payload::Constraint> || std::is_same_v<P, payload::UniqueTogether> ||
                             std::is_same_v<P, payload::IndexTogether>) {
          return p.model;
        } else {
          return std::nullopt;
        }
      },
      operation.payload);
}

}  // namespace

// Unreadable names are never tracked (see is_known), so they never match.
bool is_created_here(Framework framework, const Operation& operation, const TableTracker& tracker) {
  if (framework == Framework::Django) {
    const auto model = operation_model_name(operation);
    return model && tracker.models.count(to_lower_unicode(*model)) > 0;
  }
  return operation.table && tracker.tables.count(*operation.table) > 0;
}

namespace {

// A name that could not be read is stored empty. It is no name: recording it
// would make every other unreadable name a table this migration created.
bool is_known(std::string_view name) { return !name.empty(); }

// Records what a model/table operation does to the tracker. DeleteModel is
// left to the caller, which must test before forgetting.
void track_model_operation(Framework framework, const Operation& operation, const payload::Model& model,
                           TableTracker& tracker) {
  const bool django = framework == Framework::Django;
  switch (operation.kind) {
    case OperationKind::CreateModel:
      if (django) {
        if (is_known(model.name)) tracker.models.insert(to_lower_unicode(model.name));
      } else if (operation.table && is_known(operation.table->name)) {
        tracker.tables.insert(*operation.table);
      }
      break;
    case OperationKind::RenameModel:
      if (!model.old_name) break;
      if (django) {
        if (tracker.models.erase(to_lower_unicode(*model.old_name)) > 0 && is_known(model.name)) {
          tracker.models.insert(to_lower_unicode(model.name));
        }
      } else if (operation.table) {
        // The decoders keep the schema across a rename, so the old table is
        // the old name in the new table's schema.
        if (tracker.tables.erase(TableRef{*model.old_name, operation.table->schema}) > 0 &&
            is_known(operation.table->name)) {
          tracker.tables.insert(*operation.table);
        }
      }
      break;
    default:
      break;
  }
}

// Tracks one operation and runs the rule's test on it; descends into the
// database operations of a SeparateDatabaseAndState.
void walk_operation(Framework framework, const Operation& operation, TableTracker& tracker, WalkContext& ctx) {
  if (const auto* separate = std::get_if<payload::SeparateDatabaseAndState>(&operation.payload)) {
    for (const Operation& inner : separate->database_operations) walk_operation(framework, inner, tracker, ctx);
    return;
  }
  // Raw SQL may have done anything to the tables created so far; from here on
  // they count as existing.
  if (framework != Framework::Django && operation.kind == OperationKind::RawSql) tracker.tables.clear();

  if (const auto* model = std::get_if<payload::Model>(&operation.payload)) {
    if (operation.kind == OperationKind::DeleteModel) {
      ctx.rule.test(operation, tracker, ctx);
      if (framework == Framework::Django) {
        tracker.models.erase(to_lower_unicode(model->name));
      } else if (operation.table) {
        tracker.tables.erase(*operation.table);
      }
      return;
    }
    track_model_operation(framework, operation, *model, tracker);
  }
  ctx.rule.test(operation, tracker, ctx);
}

}  // namespace

std::vector<Diagnostic> WalkerRule::check(const ParsedMigration& migration, const RuleContext& ctx) const {
  std::vector<Diagnostic> diagnostics;
  TableTracker tracker;
  WalkContext walk{migration, ctx.path, *this, diagnostics};
  for (const Operation& operation : migration.operations) {
    walk_operation(migration.framework, operation, tracker, walk);
  }
  return diagnostics;
}

}  // namespace tarn
