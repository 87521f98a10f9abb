// R019: renaming or dropping a table that already exists.
#pragma once

#include <memory>

#include "rules/rule.h"

namespace tarn {

std::unique_ptr<Rule> make_table_rename_or_drop();  // R019

}  // namespace tarn
