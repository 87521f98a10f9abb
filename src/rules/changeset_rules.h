// Rules over a whole git change set: R008 (files changed alongside
// migrations) and R009 (both halves of a two-step deployment together).
#pragma once

#include <memory>

#include "rules/rule.h"

namespace tarn {

std::unique_ptr<ChangesetRule> make_disallowed_file_changes();    // R008
std::unique_ptr<ChangesetRule> make_separate_db_state_same_pr();  // R009

}  // namespace tarn
