// Constraints added to tables that already exist: R002 (unique constraint
// built under a lock) and R017 (foreign key, CHECK and EXCLUDE constraints).
#pragma once

#include <memory>

#include "rules/rule.h"

namespace tarn {

std::unique_ptr<Rule> make_unique_constraint_without_index();  // R002
std::unique_ptr<Rule> make_non_concurrent_add_constraint();    // R017

}  // namespace tarn
