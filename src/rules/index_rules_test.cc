#include "rules/index_rules.h"

#include <gtest/gtest.h>

#include "rules/rule_test_support.h"

namespace tarn {
namespace {

using testing::check_rule;
using testing::line_span;
using testing::make_migration;
using testing::make_op;
using testing::table;
using K = OperationKind;

Operation index_op(K kind, std::string model, uint64_t line, std::optional<TableRef> t = std::nullopt) {
  return make_op(kind, payload::Index{std::move(model)}, line, std::move(t));
}

TEST(IndexRules, FixedTexts) {
  struct Case {
    std::unique_ptr<Rule> rule;
    const char* id;
    const char* name;
    const char* description;
  };
  const Case cases[] = {
      {make_non_concurrent_add_index(), "R001", "non-concurrent-add-index",
       "AddIndex takes an exclusive lock on the table. Use AddIndexConcurrently instead to build the index without "
       "blocking reads and writes."},
      {make_non_concurrent_remove_index(), "R016", "non-concurrent-remove-index",
       "RemoveIndex takes an exclusive lock on the table. Use RemoveIndexConcurrently instead to drop the index "
       "without blocking reads and writes."},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(c.rule->id(), c.id);
    EXPECT_EQ(c.rule->name(), c.name);
    EXPECT_EQ(c.rule->description(), c.description);
    EXPECT_TRUE(c.rule->is_error());
  }
}

struct TextCase {
  Framework framework;
  bool add;
  const char* message;
  const char* help;
};

TEST(IndexRules, ReportsPlainIndexChangeWithTheFrameworksTexts) {
  const TextCase cases[] = {
      {Framework::Django, true, "Use AddIndexConcurrently instead of AddIndex to avoid table locks",
       "Replace migrations.AddIndex with AddIndexConcurrently from django.contrib.postgres.operations"},
      {Framework::Alembic, true, "Alembic create_index is missing postgresql_concurrently=True",
       "Use postgresql_concurrently=True inside op.get_context().autocommit_block()."},
      {Framework::Aerich, true, "Aerich CREATE INDEX is missing CONCURRENTLY",
       "Return CREATE INDEX CONCURRENTLY from upgrade(); generated-format migrations also require "
       "RUN_IN_TRANSACTION = False."},
      {Framework::Django, false, "Use RemoveIndexConcurrently instead of RemoveIndex to avoid table locks",
       "Replace migrations.RemoveIndex with RemoveIndexConcurrently from django.contrib.postgres.operations. The "
       "concurrent form takes SHARE UPDATE EXCLUSIVE instead of ACCESS EXCLUSIVE and must run outside a transaction "
       "(`atomic = False`)."},
      {Framework::Alembic, false, "Alembic drop_index is missing postgresql_concurrently=True",
       "Use postgresql_concurrently=True inside op.get_context().autocommit_block()."},
      {Framework::Aerich, false, "Aerich DROP INDEX is missing CONCURRENTLY",
       "Return DROP INDEX CONCURRENTLY from upgrade(); generated-format migrations also require "
       "RUN_IN_TRANSACTION = False."},
  };
  for (const TextCase& c : cases) {
    SCOPED_TRACE(c.message);
    const auto rule = c.add ? make_non_concurrent_add_index() : make_non_concurrent_remove_index();
    const K kind = c.add ? K::AddIndex : K::RemoveIndex;
    const K concurrent = c.add ? K::AddIndexConcurrently : K::RemoveIndexConcurrently;
    const K other = c.add ? K::RemoveIndex : K::AddIndex;
    const auto m = make_migration(c.framework,
                                  {index_op(concurrent, "book", 3, table("book")),
                                   index_op(other, "book", 4, table("book")), index_op(kind, "book", 5, table("book"))},
                                  "app/migrations/0007_idx.py");
    const auto found = check_rule(*rule, m);
    ASSERT_EQ(found.size(), 1u);
    const Diagnostic& d = found[0];
    EXPECT_EQ(d.rule_id, rule->id());
    EXPECT_EQ(d.rule_name, rule->name());
    EXPECT_EQ(d.message, c.message);
    EXPECT_EQ(d.help, c.help);
    EXPECT_EQ(d.severity, Severity::Error);
    EXPECT_EQ(d.path, "app/migrations/0007_idx.py");
    EXPECT_EQ(d.span, line_span(5));
  }
}

TEST(IndexRules, IndexOnModelCreatedHereIsNotReported) {
  payload::SeparateDatabaseAndState separate;
  separate.database_operations = {index_op(K::AddIndex, "Book", 3)};
  const auto m = make_migration(
      Framework::Django,
      {make_op(K::CreateModel, payload::Model{"BOOK", std::nullopt}, 1), index_op(K::AddIndex, "book", 2),
       make_op(K::SeparateDatabaseAndState, std::move(separate), 3), index_op(K::RemoveIndex, "bOOk", 4)});
  EXPECT_TRUE(check_rule(*make_non_concurrent_add_index(), m).empty());
  EXPECT_TRUE(check_rule(*make_non_concurrent_remove_index(), m).empty());
}

TEST(IndexRules, FindingsKeepSourceOrder) {
  payload::SeparateDatabaseAndState separate;
  separate.database_operations = {index_op(K::AddIndex, "b", 3)};
  const auto m = make_migration(
      Framework::Django, {index_op(K::AddIndex, "a", 2), make_op(K::SeparateDatabaseAndState, std::move(separate), 3),
                          index_op(K::AddIndex, "c", 9)});
  const auto found = check_rule(*make_non_concurrent_add_index(), m);
  ASSERT_EQ(found.size(), 3u);
  EXPECT_EQ(found[0].span.start_line, 2u);
  EXPECT_EQ(found[1].span.start_line, 3u);
  EXPECT_EQ(found[2].span.start_line, 9u);
}

TEST(IndexRules, TableOperationWithoutTableIsAlwaysReported) {
  const auto m =
      make_migration(Framework::Alembic, {make_op(K::CreateModel, payload::Model{"t", std::nullopt}, 1, table("t")),
                                          index_op(K::AddIndex, "", 2, table("t")), index_op(K::AddIndex, "", 3)});
  const auto found = check_rule(*make_non_concurrent_add_index(), m);
  ASSERT_EQ(found.size(), 1u);
  EXPECT_EQ(found[0].span.start_line, 3u);
}

}  // namespace
}  // namespace tarn
