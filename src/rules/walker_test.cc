#include "rules/walker.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "rules/test_support.h"

namespace tarn {
namespace {

using namespace tarn::testing;

// Reports every operation it is shown, with whether the walk counted its
// table as created here, so a test reads the whole walk back.
class RecordingRule final : public WalkerRule {
 public:
  std::string_view id() const override { return "R900"; }
  std::string_view name() const override { return "recording"; }
  std::string_view description() const override { return ""; }
  bool is_error() const override { return true; }
  void test(const Operation& operation, const TableTracker& tracker, WalkContext& ctx) const override {
    ctx.report(operation.span, kMark, Severity::Error,
               is_created_here(ctx.migration.framework, operation, tracker) ? "created" : "");
  }
  static constexpr RuleText kName{"{}", ""};
  static constexpr FrameworkTexts kMark{kName, kName, kName};
};

// Each walked operation's line, marked "+" when its table counted as created here.
using Seen = std::string;

Operation create(std::string name, uint64_t line) { return model_op(K::CreateModel, std::move(name), line); }
Operation drop(std::string name, uint64_t line) { return model_op(K::DeleteModel, std::move(name), line); }
Operation rename(std::string from, std::string to, uint64_t line) {
  return model_op(K::RenameModel, std::move(to), line, std::move(from));
}
Operation add_index(std::string model, uint64_t line) { return index_op(K::AddIndex, std::move(model), line); }

TEST(Walker, TracksWhatTheMigrationCreates) {
  struct Case {
    const char* name;
    Framework framework;
    std::vector<Operation> ops;
    Seen seen;
  };
  const std::vector<Case> cases = {
      {"django: the model of every payload kind, any letter case",
       Framework::Django,
       {create("Book", 1), add_index("BOOK", 2), field_op(K::AddField, "book", FieldFlags{}, 3),
        constraint_op("book", ConstraintKind::Check, 4),
        make_op(K::AlterUniqueTogether, payload::UniqueTogether{"book", true}, 5),
        make_op(K::AlterIndexTogether, payload::IndexTogether{"book", true}, 6),
        sql_op(K::RunSQL, "CREATE INDEX i ON book (x)", 7), make_op(K::RunPython, payload::Python{"f", {}}, 8),
        make_op(K::Other, payload::Empty{}, 9), add_index("Author", 10)},
       "1+ 2+ 3+ 4+ 5+ 6+ 7 8 9 10"},
      // A rename is tested after it is applied; an untracked one, or one
      // without an old name, changes nothing.
      {"django: renames",
       Framework::Django,
       {create("A", 1), rename("A", "B", 2), add_index("b", 3), add_index("a", 4), rename("X", "Y", 5),
        add_index("Y", 6), model_op(K::RenameModel, "C", 7), add_index("B", 8), add_index("C", 9)},
       "1+ 2+ 3+ 4 5 6 7 8+ 9"},
      // The wrapper itself is never tested; what it creates counts for the rest of the file.
      {"django: database operations of nested SeparateDatabaseAndState, depth first",
       Framework::Django,
       {separate_op({add_index("D", 2), separate_op({create("D", 3)}, false, 3), add_index("D", 4)}, true, 1),
        add_index("d", 5)},
       "2 3+ 4+ 5+"},
      // A create without a table tracks nothing; an operation without one never matches.
      {"aerich: name and schema compared exactly",
       Framework::Aerich,
       {on_table(create("t", 1), "t"), on_table(add_index("", 2), "t"), on_table(add_index("", 3), "t", "s"),
        on_table(add_index("", 4), "T"), add_index("", 5), create("u", 6), on_table(add_index("", 7), "u"),
        on_table(drop("t", 8), "t"), on_table(add_index("", 9), "t")},
       "1+ 2+ 3 4 5 6 7 8+ 9"},
      // A rename keeps the schema of the table it renames.
      {"alembic: raw SQL forgets created tables; renames",
       Framework::Alembic,
       {on_table(create("t", 1), "t"), sql_op(K::RawSql, "SELECT 1", 2), on_table(add_index("", 3), "t"),
        on_table(create("a", 4), "a"), on_table(rename("a", "b", 5), "b"), on_table(add_index("", 6), "b"),
        on_table(add_index("", 7), "a"), on_table(create("c", 8), "c", "s"), on_table(rename("c", "d", 9), "d", "s"),
        on_table(add_index("", 10), "d", "s"), on_table(rename("x", "y", 11), "y"), on_table(add_index("", 12), "y")},
       "1+ 2 3 4+ 5+ 6+ 7 8+ 9+ 10+ 11 12"},
      // Unreadable names are stored empty; they never stand for a created table.
      {"alembic: an empty table name is never created",
       Framework::Alembic,
       {on_table(create("", 1), ""), on_table(add_index("", 2), ""), on_table(create("a", 3), "a"),
        on_table(rename("a", "", 4), ""), on_table(add_index("", 5), ""), on_table(add_index("", 6), "a")},
       "1 2 3+ 4 5 6"},
  };
  for (const Case& c : cases) {
    Seen seen;
    for (const Diagnostic& d : check_rule(RecordingRule{}, make_migration(c.framework, c.ops))) {
      seen += (seen.empty() ? "" : " ") + std::to_string(d.span.start_line) + (d.message == "created" ? "+" : "");
    }
    EXPECT_EQ(seen, c.seen) << c.name;
  }
}

}  // namespace
}  // namespace tarn
