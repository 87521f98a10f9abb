#include "ast/framework.h"

#include <gtest/gtest.h>

namespace tarn {
namespace {

TEST(DetectFramework, Layouts) {
  constexpr auto D = Framework::Django, A = Framework::Alembic, E = Framework::Aerich;
  const std::pair<const char*, std::optional<Framework>> cases[] = {
      {"app/migrations/0001_initial.py", D},
      {"./app/migrations/0001_initial.py", D},
      {"/abs/app/migrations//0001_initial.py", D},
      {"app/./migrations/0001_initial.py", D},
      {"migrations/0001_initial.py", D},
      {"migrations/1_20240101_init.py", D},  // directly in migrations: Django wins
      {"app/migrations/__init__.py", std::nullopt},
      {"app/migrations/0001_initial.PY", std::nullopt},
      {"app/migrations/0001_initial.pyc", std::nullopt},
      {"app/migrations/0001_initial", std::nullopt},
      {"app/migrations/.py", std::nullopt},
      {"app/migrations/..", std::nullopt},
      {"Migrations/0001_initial.py", std::nullopt},
      {"0001_initial.py", std::nullopt},
      {"./0001_initial.py", std::nullopt},
      {"app/migrations/../x.py", std::nullopt},  // ".." has no name
      {"alembic/versions/abc123_add_table.py", A},
      {"db/migrations/versions/abc123_add_table.py", A},
      {"migrations/versions/1_x.py", A},
      {"versions/abc.py", std::nullopt},
      {"other/versions/abc.py", std::nullopt},
      {"Alembic/versions/abc.py", std::nullopt},
      {"migrations/models/1_20240101120000_init.py", E},
      {"migrations/models/+7_x.py", E},
      {"migrations/models/0_x.py", E},
      {"migrations/models/18446744073709551615_x.py", E},
      {"migrations/models/18446744073709551616_x.py", std::nullopt},
      {"migrations/models/abc_x.py", std::nullopt},
      {"migrations/models/1_.py", std::nullopt},
      {"migrations/models/1.py", std::nullopt},
      {"migrations/models/-1_x.py", std::nullopt},
      {"migrations/models/+_x.py", std::nullopt},
      {"migrations/models/_x.py", std::nullopt},
      {"migrations/models/1a_x.py", std::nullopt},
      {"migrations/models/1__x.py", E},
      {"migrations/models/1_\xff.py", std::nullopt},
      {"x/migrations/app/2_y.py", E},
      {"migrations/../2_y.py", E},  // the grandparent is still named migrations
      {"", std::nullopt},
      {"/", std::nullopt},
  };
  for (const auto& [path, expected] : cases) EXPECT_EQ(detect_framework(path), expected) << path;
}

}  // namespace
}  // namespace tarn
