// Aerich migrations: the SQL texts that upgrade (and the module functions it
// reaches) returns or runs, scanned into operations, and whether the
// migration runs outside a transaction.
#pragma once

#include <string_view>
#include <vector>

#include "ast/model.h"
#include "parser/parser.h"

namespace tarn {

struct AerichAnalysis {
  std::vector<Operation> operations;
  bool non_atomic = false;  // generated format (MODELS_STATE) with RUN_IN_TRANSACTION = False
};

// `path` is the migration's path; only its file name is read.
AerichAnalysis aerich_analysis(std::string_view path, const ParsedSource& parsed);

// 0_<anything>_init.py: the migration that creates the schema from nothing.
bool is_initial_aerich_migration(std::string_view path);

}  // namespace tarn
