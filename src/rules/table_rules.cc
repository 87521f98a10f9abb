#include "rules/table_rules.h"

#include "rules/rule_support.h"
#include "rules/walker.h"

namespace tarn {

namespace {

constexpr RuleDescription kTableRenameOrDrop{
    "R019", "table-rename-or-drop", "Renaming or dropping an existing table breaks a running application.", true};

class TableRenameOrDrop final : public DescribedRule<WalkerRule, kTableRenameOrDrop> {
 public:
  // The walk applies a rename before this test and forgets a drop after it,
  // so both find a table this migration created still tracked.
  void test(const Operation& operation, const TableTracker& tracker, WalkContext& ctx) const override {
    switch (operation.kind) {
      case OperationKind::DeleteModel:
      case OperationKind::RenameModel:
      case OperationKind::AlterModelTable: break;
      default: return;
    }
    if (is_created_here(ctx.migration.framework, operation, tracker)) return;
    ctx.report(operation.span, kTexts);
  }

 private:
  static constexpr RuleText kText{
      "Renaming or dropping an existing table can break a running application",
      "Deploy compatible application code first; use a staged migration. The eventual physical drop remains "
      "deliberate and may need an inline `# tarn: ignore R019` only after the compatible rollout is complete."};
  static constexpr FrameworkTexts kTexts{.django = kText, .alembic = kText, .aerich = kText};
};

}  // namespace

std::unique_ptr<Rule> make_table_rename_or_drop() { return std::make_unique<TableRenameOrDrop>(); }

}  // namespace tarn
