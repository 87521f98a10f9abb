#include "ast/aerich.h"

#include <algorithm>
#include <map>
#include <set>
#include <string>

#include "ast/branching.h"
#include "ast/scope.h"
#include "ast/sql_scan.h"
#include "ast/strings.h"
#include "parser/node.h"
#include "util/path.h"
#include "util/utf8.h"

namespace tarn {

namespace {

using FunctionMap = std::map<std::string, TSNode, std::less<>>;

// Top-level function definitions by name; a later definition replaces an
// earlier one, as it would when the module runs.
FunctionMap collect_function_definitions(const ParsedSource& parsed) {
  FunctionMap functions;
  for_each_child(parsed.root(), [&](TSNode c) {
    if (!ts_node_is_named(c) || !node_is(c, "function_definition")) return true;
    auto name = field(c, "name");
    functions.insert_or_assign(std::string(name ? node_text(parsed.source, *name) : std::string_view{}), c);
    return true;
  });
  return functions;
}

// Walks upgrade and every module function it reaches, depth-first in source
// order. The walk uses an explicit stack: a chain of functions calling one
// another can be as long as the file allows, far deeper than the call stack.
class AerichWalker {
 public:
  AerichWalker(const ParsedSource& parsed, bool is_initial, bool has_models_state, std::vector<Operation>& out)
      : parsed_(parsed),
        functions_(collect_function_definitions(parsed)),
        is_initial_(is_initial),
        has_models_state_(has_models_state),
        out_(out) {}

  void run() {
    stack_.push_back(function_item("upgrade", true));
    while (!stack_.empty()) {
      const Item item = stack_.back();
      stack_.pop_back();
      if (item.is_function) {
        enter_function(item.function, item.unconditional);
      } else {
        visit(item.node, item.unconditional);
      }
    }
  }

 private:
  // Either a node to visit or a function to enter by name.
  struct Item {
    TSNode node;
    std::string_view function;
    bool is_function;
    bool unconditional;
  };

  void enter_function(std::string_view name, bool unconditional) {
    auto it = functions_.find(name);
    if (it == functions_.end()) return;
    // Each function is walked once, with the flag of the first place reaching it.
    if (!visited_.insert(it->first).second) return;
    if (auto body = field(it->second, "body")) stack_.push_back(Item{*body, {}, false, unconditional});
  }

  void scan_literal(TSNode literal, bool unconditional) {
    const std::string sql = python_string_value(parsed_.source, literal);
    analyze_aerich_sql(sql, node_span(literal), unconditional, is_initial_, has_models_state_, out_);
  }

  void visit(TSNode node, bool unconditional) {
    const std::string_view type = node_type(node);
    if (type == "lambda" || type == "class_definition" || type == "function_definition") return;
    if (type == "return_statement") {
      const auto literal = string_node_kind(unparenthesized(first_value_child(node)));
      if (literal) scan_literal(*literal, unconditional);
      return;
    }

    // Run order: the called function, functions passed by name, then the
    // node's own children; pushed in run order, then reversed in place.
    const size_t first = stack_.size();
    if (type == "call") {
      // Only a bare name calls execute_statement or a module function; the
      // name is kept as a view into the map, which outlives the walk.
      const auto callee = callee_name(parsed_.source, node, 1);
      const bool executes = callee == "execute_statement";
      if (callee) {
        if (auto it = functions_.find(*callee); it != functions_.end())
          stack_.push_back(function_item(it->first, unconditional));
      }
      if (auto args = field(node, "arguments")) {
        size_t index = 0;
        for_each_child(*args, [&](TSNode child) {
          if (!is_value_node(child)) return true;
          const TSNode arg = unparenthesized(child);
          if (executes && index++ == 1) {
            if (auto literal = string_node_kind(arg)) scan_literal(*literal, unconditional);
          }
          if (node_is(arg, "identifier"))
            stack_.push_back(function_item(node_text(parsed_.source, arg), unconditional));
          return true;
        });
      }
    }
    const bool child_unconditional = unconditional && !is_branching_statement(type);
    for_each_child(node, [&](TSNode c) {
      if (ts_node_is_named(c)) stack_.push_back(Item{c, {}, false, child_unconditional});
      return true;
    });
    std::reverse(stack_.begin() + static_cast<std::ptrdiff_t>(first), stack_.end());
  }

  static Item function_item(std::string_view name, bool unconditional) { return Item{TSNode{}, name, true, unconditional}; }

  const ParsedSource& parsed_;
  const FunctionMap functions_;
  const bool is_initial_;
  const bool has_models_state_;
  std::vector<Operation>& out_;
  std::vector<Item> stack_;
  std::set<std::string_view> visited_;
};

}  // namespace

bool is_initial_aerich_migration(std::string_view path) {
  auto name = path_file_name(path);
  if (!name || !is_valid_utf8(*name)) return false;
  return name->size() >= 10 && name->starts_with("0_") && name->ends_with("_init.py");
}

namespace {

// What the module's top-level assignments say about the migration's format.
struct ModuleFlags {
  bool has_models_state = false;          // the generated format
  bool run_in_transaction_false = false;  // the last RUN_IN_TRANSACTION assignment
};

ModuleFlags read_module_flags(const ParsedSource& parsed) {
  ModuleFlags flags;
  for_each_child(parsed.root(), [&](TSNode stmt) {
    const auto assign = statement_assignment(stmt);
    if (!assign) return true;
    const auto left = field(*assign, "left"), right = field(*assign, "right");
    if (!left || !right) return true;
    const std::string_view name = node_text(parsed.source, *left);
    if (name == "MODELS_STATE") flags.has_models_state = true;
    if (name == "RUN_IN_TRANSACTION") flags.run_in_transaction_false = is_false_literal(*right);
    return true;
  });
  return flags;
}

}  // namespace

AerichAnalysis aerich_analysis(std::string_view path, const ParsedSource& parsed) {
  AerichAnalysis result;
  const ModuleFlags flags = read_module_flags(parsed);
  AerichWalker(parsed, is_initial_aerich_migration(path), flags.has_models_state, result.operations).run();
  // Only the generated format honours RUN_IN_TRANSACTION.
  result.non_atomic = flags.has_models_state && flags.run_in_transaction_false;
  return result;
}

}  // namespace tarn
