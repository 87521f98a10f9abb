#include "rules/operation_rules.h"

#include <gtest/gtest.h>

#include "rules/test_support.h"

namespace tarn {
namespace {

using namespace tarn::testing;

Operation python(std::string code, std::optional<std::string> reverse, uint64_t line) {
  return make_op(K::RunPython, payload::Python{std::move(code), std::move(reverse)}, line);
}

TEST(R012, RunPythonWithoutReverseAtAnyDepth) {
  const auto found =
      check_rule(*make_irreversible_run_python(),
                 make_migration(Framework::Django,
                                {python("forwards", std::nullopt, 2),
                                 python("migrate_data", "migrations.RunPython.noop", 3), python("fill", "unfill", 4),
                                 separate_op({python("lambda a, s: {}", std::nullopt, 6)}, false, 5)}));
  ASSERT_EQ(lines_of(found), (Lines{2, 6}));
  // The function's text goes into the message literally, braces and all.
  EXPECT_EQ(found[1].message, "RunPython 'lambda a, s: {}' has no reverse function");
}

TEST(R014, ModelNamesFromAnAppsModelsModule) {
  struct Case {
    std::optional<std::string> module;
    std::vector<std::string> names;
    bool reported;
  };
  const Case cases[] = {
      {"models", {"Book"}, true},
      {"myapp.models", {"slugify", "_Private", "\xc3\x89t\xc3\xa9"}, false},  // no ASCII capital
      {"myapp.models.base", {"Book"}, false},
  };
  ParsedMigration m = make_migration(Framework::Django, {});
  Lines expected;
  for (const Case& c : cases) {
    m.imports.push_back(ModuleImport{c.names, c.module, line_span(m.imports.size() + 1)});
    if (c.reported) expected.push_back(m.imports.size());
  }
  EXPECT_EQ(lines_of(check_rule(*make_model_imports(), m)), expected);
}

TEST(R015, AlterFieldEndingNotNullOrChangingType) {
  const auto alter = [](std::optional<FieldFlags> flags, uint64_t line) {
    return field_op(K::AlterField, "user", flags, line);
  };
  EXPECT_EQ(lines_found(*make_alter_field_not_null(), Framework::Aerich,
                        {alter(FieldFlags{}, 1), alter(FieldFlags{.null = true}, 2), alter(std::nullopt, 3),
                         alter(FieldFlags{.null = true, .type_changed = true}, 4),
                         field_op(K::AddField, "user", FieldFlags{}, 5), separate_op({alter(FieldFlags{}, 7)}, true, 6)}),
            (Lines{1, 4, 7}));
}

}  // namespace
}  // namespace tarn
