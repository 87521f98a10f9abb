// Rules over the SQL a migration runs: R003 (index built without
// CONCURRENTLY) and R004 (concurrent index work inside a transaction).
#pragma once

#include <memory>

#include "rules/rule.h"

namespace tarn {

// The operation builds, drops or rebuilds an index concurrently: the
// concurrent index kinds, or raw SQL with such a statement.
bool is_concurrent_operation(const Operation& operation);

std::unique_ptr<Rule> make_runsql_create_index();   // R003
std::unique_ptr<Rule> make_missing_atomic_false();  // R004

}  // namespace tarn
