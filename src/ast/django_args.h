// Argument readers for Django operation calls: keyword-else-position names,
// field-definition keywords, and the operations whose arguments are more than
// names (RunSQL, RunPython, SeparateDatabaseAndState, Alter*Together).
#pragma once

#include <tree_sitter/api.h>

#include <cstdint>
#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "ast/call_args.h"
#include "ast/model.h"
#include "ast/scope.h"

namespace tarn {

// What the Django decoder reads beside each node: the file's text, its module
// variables, and the bookkeeping that keeps reuse of module variables cheap.
struct DjangoContext {
  DjangoContext(std::string_view text, const ModuleScope& module) : source(text), scope(module) {}

  std::string_view source;
  const ModuleScope& scope;

  // A module variable can be named any number of times, and operation lists
  // bound to variables can name each other, so a small file could otherwise
  // expand without bound. The first read of each bound value is free (that
  // keeps the work linear in the file); repeated reads draw on a byte budget.
  static constexpr uint64_t kReuseBudgetBytes = 4u << 20;
  // Far deeper than a SeparateDatabaseAndState nesting written out in a tree
  // within the parser's nesting limit; only chains of variables reach it.
  static constexpr uint32_t kMaxOperationNesting = 128;

  std::unordered_set<const void*> read_values;
  std::unordered_map<const void*, bool> bound_list_content;  // bound list -> holds something
  uint64_t reuse_budget = kReuseBudgetBytes;
  std::vector<const void*> open_lists;  // variable-bound operation lists being decoded
  uint32_t nesting = 0;                 // SeparateDatabaseAndState levels being decoded
  // Reaching either bound ends the decoding and says which bound it was: the
  // file is refused, as a shorter list of operations must not pass for its
  // whole analysis.
  std::optional<std::string> cut_short;

  // Whether the module-level value `value` may be read (once more); past the
  // budget it may not, and the decoding is cut short.
  bool admit_bound_value(TSNode value);
};

// None, or a call of one of `callees` with nothing between its parentheses
// however they are spaced, commented or continued over lines.
bool is_none_or_empty_call(std::string_view source, TSNode value, std::initializer_list<std::string_view> callees);
// None, or an empty list, tuple or set() written as freely.
bool is_none_or_empty_collection(std::string_view source, TSNode value);

// --- basic readers ---

// Text of the call's function after its last ".".
std::optional<std::string_view> callee_basename(std::string_view source, TSNode call);
// A keyword value other than None / NOT_PROVIDED.
bool is_provided_value(std::string_view source, TSNode value);

// The string named by keyword `keyword`, else (when `position` is given) by position.
std::optional<std::string> read_name_argument(const CallArguments& args, std::string_view keyword,
                                              std::optional<size_t> position);

// --- operation readers ---

payload::Sql read_run_sql_args(DjangoContext& ctx, const CallArguments& args);
payload::Python read_run_python_args(const CallArguments& args);
payload::SeparateDatabaseAndState read_separate_database_and_state_args(DjangoContext& ctx, const CallArguments& args);
payload::UniqueTogether read_unique_together_args(const CallArguments& args);
payload::IndexTogether read_index_together_args(const CallArguments& args);

}  // namespace tarn
