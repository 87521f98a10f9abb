// The records one migration file is analysed into, whatever its framework.
// Plain owned values: nothing points into the source text or syntax tree.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <variant>
#include <vector>

#include "util/migration_layout.h"

namespace tarn {

struct Span {
  uint64_t start_byte = 0;
  uint64_t end_byte = 0;
  uint64_t start_line = 0;    // from 1
  uint64_t start_column = 0;  // bytes, from 0
  uint64_t end_line = 0;
  uint64_t end_column = 0;
  bool operator==(const Span&) const = default;
};

struct TableRef {
  std::string name;
  std::optional<std::string> schema;
  bool operator==(const TableRef&) const = default;
  auto operator<=>(const TableRef&) const = default;
};

struct ModuleImport {
  std::vector<std::string> names;
  std::optional<std::string> module;
  Span span;
};

enum class OperationKind : uint8_t {
  AddIndex = 0,
  AddIndexConcurrently = 1,
  RemoveIndex = 2,
  RemoveIndexConcurrently = 3,
  CreateModel = 4,
  DeleteModel = 5,
  RenameModel = 6,
  AddField = 7,
  RemoveField = 8,
  AlterField = 9,
  RenameField = 10,
  AddConstraint = 11,
  RemoveConstraint = 12,
  RunSQL = 13,
  RawSql = 14,
  RunPython = 15,
  SeparateDatabaseAndState = 16,
  AlterModelOptions = 17,
  AlterModelManagers = 18,
  AlterModelTable = 19,
  AlterUniqueTogether = 20,
  AlterIndexTogether = 21,
  AlterOrderWithRespectTo = 22,
  Other = 23,
};

enum class ConstraintKind : uint8_t { Unique = 0, ForeignKey = 1, Check = 2, Exclusion = 3, Other = 4 };

struct FieldFlags {
  bool foreign_key = false;
  bool is_foreign_key_class = false;
  bool db_constraint = false;
  bool db_index = false;
  bool db_index_false = false;
  bool unique = false;
  bool null = false;
  bool has_default = false;
  bool has_db_default = false;
  bool type_changed = false;
  bool operator==(const FieldFlags&) const = default;
};

struct Operation;

namespace payload {
struct Index {
  std::string model;
};
struct Model {
  std::string name;                     // the name the operation leaves in place
  std::optional<std::string> old_name;  // previous name of a rename
};
struct Field {
  std::string model;
  std::string name;
  std::optional<std::string> old_name;
  std::optional<std::string> new_name;
  std::optional<FieldFlags> flags;  // present when a column definition is carried
};
struct Constraint {
  std::string model;
  bool not_valid = false;
  bool non_plain_unique = false;
  ConstraintKind constraint_kind = ConstraintKind::Other;
};
struct UniqueTogether {
  std::string model;
  bool has_entries = false;
};
struct IndexTogether {
  std::string model;
  bool has_entries = false;
};
struct Sql {
  std::string sql;
  std::optional<std::string> reverse_sql;
};
struct Python {
  std::string code;
  std::optional<std::string> reverse_code;
};
struct SeparateDatabaseAndState {
  std::vector<Operation> database_operations;
  bool has_state_operations = false;
  bool has_database_operations = false;
};
struct Empty {};
}  // namespace payload

// Variant order is the payload's declared order.
using OperationPayload =
    std::variant<payload::Index, payload::Model, payload::Field, payload::Constraint,
                 payload::UniqueTogether, payload::IndexTogether, payload::Sql, payload::Python,
                 payload::SeparateDatabaseAndState, payload::Empty>;

struct Operation {
  std::optional<TableRef> table;
  OperationPayload payload;
  Span span;
  // Set by the decoder, with a meaning that depends on the framework; read it
  // through the accessor that names it.
  bool context_flag = false;
  OperationKind kind = OperationKind::Other;

  // Alembic: the call sits in `with op.get_context().autocommit_block():`, so
  // it runs outside any transaction.
  bool in_autocommit_block() const { return context_flag; }
  // Aerich: the SQL text it comes from holds several statements, which
  // PostgreSQL runs as one implicit transaction.
  bool in_multi_statement_text() const { return context_flag; }
};

// 1-based line -> upper-cased rule ids named by suppression comments on it.
using SuppressionMap = std::map<uint64_t, std::set<std::string>>;

struct ParsedMigration {
  std::optional<Span> migration_class_span;
  std::string path;
  std::vector<Operation> operations;
  std::vector<ModuleImport> imports;
  SuppressionMap suppressions;
  bool non_atomic = false;
  Framework framework = Framework::Django;
};

}  // namespace tarn
