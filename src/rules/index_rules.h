// R001 and R016: plain (non-concurrent) index builds and drops on existing tables.
#pragma once

#include <memory>

#include "rules/rule.h"

namespace tarn {

std::unique_ptr<Rule> make_non_concurrent_add_index();     // R001
std::unique_ptr<Rule> make_non_concurrent_remove_index();  // R016

}  // namespace tarn
