// Rules that judge single operations or import statements, with no table
// tracking: R005, R011, R012, R013, R014, R015.
#pragma once

#include <memory>

#include "rules/rule.h"

namespace tarn {

std::unique_ptr<Rule> make_remove_field_without_separate();  // R005
std::unique_ptr<Rule> make_rename_field();                   // R011
std::unique_ptr<Rule> make_irreversible_run_python();        // R012
std::unique_ptr<Rule> make_irreversible_run_sql();           // R013
std::unique_ptr<Rule> make_model_imports();                  // R014
std::unique_ptr<Rule> make_alter_field_not_null();           // R015

}  // namespace tarn
