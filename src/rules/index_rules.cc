#include "rules/index_rules.h"

#include "rules/rule_support.h"
#include "rules/walker.h"

namespace tarn {

namespace {

constexpr RuleDescription kAddIndex{
    "R001", "non-concurrent-add-index",
    "AddIndex takes an exclusive lock on the table. Use AddIndexConcurrently instead to build the index without "
    "blocking reads and writes.",
    true};

constexpr FrameworkTexts kAddIndexTexts{
    .django = {"Use AddIndexConcurrently instead of AddIndex to avoid table locks",
               "Replace migrations.AddIndex with AddIndexConcurrently from django.contrib.postgres.operations"},
    .alembic = {"Alembic create_index is missing postgresql_concurrently=True",
                "Use postgresql_concurrently=True inside op.get_context().autocommit_block()."},
    .aerich = {"Aerich CREATE INDEX is missing CONCURRENTLY",
               "Return CREATE INDEX CONCURRENTLY from upgrade(); generated-format migrations also require "
               "RUN_IN_TRANSACTION = False."},
};

constexpr RuleDescription kRemoveIndex{
    "R016", "non-concurrent-remove-index",
    "RemoveIndex takes an exclusive lock on the table. Use RemoveIndexConcurrently instead to drop the index without "
    "blocking reads and writes.",
    true};

constexpr FrameworkTexts kRemoveIndexTexts{
    .django = {"Use RemoveIndexConcurrently instead of RemoveIndex to avoid table locks",
               "Replace migrations.RemoveIndex with RemoveIndexConcurrently from django.contrib.postgres.operations. "
               "The concurrent form takes SHARE UPDATE EXCLUSIVE instead of ACCESS EXCLUSIVE and must run outside a "
               "transaction (`atomic = False`)."},
    .alembic = {"Alembic drop_index is missing postgresql_concurrently=True",
                "Use postgresql_concurrently=True inside op.get_context().autocommit_block()."},
    .aerich = {"Aerich DROP INDEX is missing CONCURRENTLY",
               "Return DROP INDEX CONCURRENTLY from upgrade(); generated-format migrations also require "
               "RUN_IN_TRANSACTION = False."},
};

// Reports its one plain kind unless it targets a table the migration created
// itself (nobody can be using that table yet). The concurrent kinds are
// separate kinds and never match.
template <const RuleDescription& About, OperationKind Kind, const FrameworkTexts& Texts>
class PlainIndexRule final : public DescribedRule<WalkerRule, About> {
 public:
  void test(const Operation& operation, const TableTracker& tracker, WalkContext& ctx) const override {
    if (operation.kind != Kind) return;
    if (is_created_here(ctx.migration.framework, operation, tracker)) return;
    ctx.report(operation.span, Texts);
  }
};

}  // namespace

std::unique_ptr<Rule> make_non_concurrent_add_index() {
  return std::make_unique<PlainIndexRule<kAddIndex, OperationKind::AddIndex, kAddIndexTexts>>();
}

std::unique_ptr<Rule> make_non_concurrent_remove_index() {
  return std::make_unique<PlainIndexRule<kRemoveIndex, OperationKind::RemoveIndex, kRemoveIndexTexts>>();
}

}  // namespace tarn
