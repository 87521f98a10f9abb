// Columns added or changed on tables that already exist: R006 (foreign-key
// column in one step), R010 (NOT NULL without a default) and R018 (Django
// builds an index or unique index non-concurrently).
#pragma once

#include <memory>

#include "rules/rule.h"

namespace tarn {

std::unique_ptr<Rule> make_add_field_foreign_key();  // R006
std::unique_ptr<Rule> make_add_field_not_null();     // R010
std::unique_ptr<Rule> make_implicit_django_index();  // R018

}  // namespace tarn
