#include "util/migration_layout.h"

#include <gtest/gtest.h>

namespace tarn {
namespace {

TEST(DetectFramework, Layouts) {
  constexpr auto D = Framework::Django, E = Framework::Aerich;
  // Layouts that golden cases do not already walk: lexical path forms and odd Aerich names.
  const std::pair<const char*, std::optional<Framework>> cases[] = {
      {"/abs/app/migrations//0001_initial.py", D},
      {"migrations/1_20240101_init.py", D},  // directly in migrations: Django wins
      {"app/migrations/0001_initial.pyc", std::nullopt},
      {"app/migrations/..", std::nullopt},
      {"app/migrations/../x.py", std::nullopt},  // ".." has no name
      {"Alembic/versions/abc.py", std::nullopt},
      {"migrations/models/1__x.py", E},
      {"migrations/models/1a_x.py", std::nullopt},
      {"migrations/models/1_\xff.py", std::nullopt},
      {"migrations/../2_y.py", E},  // the grandparent is still named migrations
  };
  for (const auto& [path, expected] : cases) EXPECT_EQ(detect_framework(path), expected) << path;
}

}  // namespace
}  // namespace tarn
