#include "rules/walker.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "rules/rule_test_support.h"

namespace tarn {
namespace {

using testing::make_migration;
using testing::make_op;
using testing::table;
using K = OperationKind;

// Reports every operation it is shown, with whether the walk counted its
// table as created here, so a test reads the whole walk back.
class RecordingRule final : public WalkerRule {
 public:
  std::string_view id() const override { return "R900"; }
  std::string_view name() const override { return "recording"; }
  std::string_view description() const override { return ""; }
  bool is_error() const override { return true; }
  void test(const Operation& operation, const TableTracker& tracker, WalkContext& ctx) const override {
    const bool created = is_created_here(ctx.migration.framework, operation, tracker);
    ctx.report(operation.span, created ? "created" : "existing", "", Severity::Warning);
  }
};

using Seen = std::vector<std::pair<uint64_t, bool>>;  // line, created here

Seen walk(const ParsedMigration& migration) {
  Seen seen;
  for (const Diagnostic& d : testing::check_rule(RecordingRule{}, migration)) {
    EXPECT_EQ(d.rule_id, "R900");
    EXPECT_EQ(d.severity, Severity::Warning);
    EXPECT_EQ(d.path, migration.path);
    seen.emplace_back(d.span.start_line, d.message == "created");
  }
  return seen;
}

Operation create(std::string name, uint64_t line, std::optional<TableRef> t = std::nullopt) {
  return make_op(K::CreateModel, payload::Model{std::move(name), std::nullopt}, line, std::move(t));
}
Operation rename(std::string from, std::string to, uint64_t line, std::optional<TableRef> t = std::nullopt) {
  return make_op(K::RenameModel, payload::Model{std::move(to), std::move(from)}, line, std::move(t));
}
Operation drop(std::string name, uint64_t line, std::optional<TableRef> t = std::nullopt) {
  return make_op(K::DeleteModel, payload::Model{std::move(name), std::nullopt}, line, std::move(t));
}
Operation add_index(std::string model, uint64_t line, std::optional<TableRef> t = std::nullopt) {
  return make_op(K::AddIndex, payload::Index{std::move(model)}, line, std::move(t));
}
Operation raw_sql(uint64_t line) { return make_op(K::RawSql, payload::Sql{"SELECT 1", std::nullopt}, line); }

TEST(Walker, DjangoModelsAreTrackedCaseInsensitively) {
  const auto m = make_migration(
      Framework::Django, {create("Book", 1), add_index("book", 2), add_index("BOOK", 3), add_index("Author", 4)});
  EXPECT_EQ(walk(m), (Seen{{1, true}, {2, true}, {3, true}, {4, false}}));
}

TEST(Walker, DjangoModelNameComesFromEachPayloadKind) {
  const auto m = make_migration(
      Framework::Django,
      {create("Book", 1), make_op(K::AddField, payload::Field{"book", "title", {}, {}, {}}, 2),
       make_op(K::AddConstraint, payload::Constraint{"book", false, false, ConstraintKind::Check}, 3),
       make_op(K::AlterUniqueTogether, payload::UniqueTogether{"book", true}, 4),
       make_op(K::AlterIndexTogether, payload::IndexTogether{"book", true}, 5),
       make_op(K::RunSQL, payload::Sql{"CREATE INDEX i ON book (x)", std::nullopt}, 6),
       make_op(K::RunPython, payload::Python{"f", std::nullopt}, 7), make_op(K::Other, payload::Empty{}, 8)});
  EXPECT_EQ(walk(m), (Seen{{1, true}, {2, true}, {3, true}, {4, true}, {5, true}, {6, false}, {7, false}, {8, false}}));
}

TEST(Walker, DjangoRenameMovesATrackedModelOnly) {
  const auto m = make_migration(Framework::Django, {create("A", 1), rename("A", "B", 2), add_index("b", 3),
                                                    add_index("a", 4), rename("X", "Y", 5), add_index("Y", 6)});
  // The rename is tested after it is applied; an untracked rename changes nothing.
  EXPECT_EQ(walk(m), (Seen{{1, true}, {2, true}, {3, true}, {4, false}, {5, false}, {6, false}}));
}

TEST(Walker, RenameWithoutOldNameTracksNothing) {
  const auto m = make_migration(Framework::Django, {create("A", 1), make_op(K::RenameModel, payload::Model{"B", {}}, 2),
                                                    add_index("A", 3), add_index("B", 4)});
  EXPECT_EQ(walk(m), (Seen{{1, true}, {2, false}, {3, true}, {4, false}}));
}

TEST(Walker, DeleteIsTestedBeforeItIsForgotten) {
  for (const Framework fw : {Framework::Django, Framework::Alembic}) {
    const auto m =
        make_migration(fw, {create("A", 1, table("A")), drop("A", 2, table("A")), add_index("A", 3, table("A"))});
    EXPECT_EQ(walk(m), (Seen{{1, true}, {2, true}, {3, false}})) << static_cast<int>(fw);
  }
}

TEST(Walker, SeparateDatabaseAndStateWalksDatabaseOperationsOnly) {
  payload::SeparateDatabaseAndState separate;
  separate.database_operations = {create("C", 2), add_index("C", 3)};
  separate.has_database_operations = true;
  separate.has_state_operations = true;
  const auto m = make_migration(Framework::Django,
                                {make_op(K::SeparateDatabaseAndState, std::move(separate), 1), add_index("c", 4)});
  // The wrapper itself is never tested; what it creates counts for the rest of the file.
  EXPECT_EQ(walk(m), (Seen{{2, true}, {3, true}, {4, true}}));
}

TEST(Walker, NestedSeparateDatabaseAndStateIsWalkedDepthFirst) {
  payload::SeparateDatabaseAndState inner;
  inner.database_operations = {create("D", 3)};
  payload::SeparateDatabaseAndState outer;
  outer.database_operations = {add_index("D", 2), make_op(K::SeparateDatabaseAndState, std::move(inner), 3),
                               add_index("D", 4)};
  const auto m = make_migration(Framework::Django, {make_op(K::SeparateDatabaseAndState, std::move(outer), 1)});
  EXPECT_EQ(walk(m), (Seen{{2, false}, {3, true}, {4, true}}));
}

TEST(Walker, TablesCompareNameAndSchemaExactly) {
  for (const Framework fw : {Framework::Alembic, Framework::Aerich}) {
    const auto m = make_migration(
        fw, {create("t", 1, table("t")), add_index("", 2, table("t")), add_index("", 3, table("t", "s")),
             add_index("", 4, table("T")), add_index("", 5), create("u", 6), add_index("", 7, table("u"))});
    // A create without table tracks nothing; an operation without table never matches.
    EXPECT_EQ(walk(m), (Seen{{1, true}, {2, true}, {3, false}, {4, false}, {5, false}, {6, false}, {7, false}}))
        << static_cast<int>(fw);
  }
}

TEST(Walker, RawSqlForgetsCreatedTables) {
  const auto m =
      make_migration(Framework::Alembic, {create("t", 1, table("t")), raw_sql(2), add_index("", 3, table("t")),
                                          create("u", 4, table("u")), add_index("", 5, table("u"))});
  EXPECT_EQ(walk(m), (Seen{{1, true}, {2, false}, {3, false}, {4, true}, {5, true}}));
}

TEST(Walker, DjangoIgnoresTablesAndRawSql) {
  const auto m = make_migration(Framework::Django, {create("Book", 1, table("other")), raw_sql(2), add_index("book", 3),
                                                    add_index("x", 4, table("other"))});
  EXPECT_EQ(walk(m), (Seen{{1, true}, {2, false}, {3, true}, {4, false}}));
}

TEST(Walker, TableRenameKeepsTheSchema) {
  const auto m = make_migration(
      Framework::Alembic,
      {create("a", 1, table("a")), rename("a", "b", 2, table("b")), add_index("", 3, table("b")),
       add_index("", 4, table("a")), create("c", 5, table("c", "s")), rename("c", "d", 6, table("d", "s")),
       add_index("", 7, table("d", "s")), rename("x", "y", 8, table("y")), add_index("", 9, table("y"))});
  EXPECT_EQ(
      walk(m),
      (Seen{{1, true}, {2, true}, {3, true}, {4, false}, {5, true}, {6, true}, {7, true}, {8, false}, {9, false}}));
}

TEST(Walker, NothingCreatedMeansEverythingExists) {
  const auto m = make_migration(Framework::Aerich, {add_index("", 1, table("t")), drop("t", 2, table("t"))});
  EXPECT_EQ(walk(m), (Seen{{1, false}, {2, false}}));
}

}  // namespace
}  // namespace tarn
