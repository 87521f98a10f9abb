#include "ast/alembic.h"

#include <map>
#include <optional>
#include <string>
#include <vector>

#include "ast/branching.h"
#include "ast/scope.h"
#include "parser/node.h"

namespace tarn {

namespace {

// Name -> bound to op.get_context() by a statement directly in upgrade's body.
using ContextVariables = std::map<std::string, bool>;

bool is_nested_definition(TSNode n) { return node_is(n, "lambda") || node_is(n, "function_definition"); }

// Records the names `node`'s assignments bind; `top_level`: `node` is a
// statement directly in upgrade's body.
void collect_context_variables(std::string_view source, TSNode node, bool top_level, ContextVariables& vars) {
  if (is_nested_definition(node)) return;
  if (const auto assign = statement_assignment(node)) {
    auto left = field(*assign, "left");
    if (left && node_is(*left, "identifier")) {
      auto right = field(*assign, "right");
      // Any rebinding cancels an earlier one; only a top-level one sets it.
      vars[std::string(node_text(source, *left))] =
          top_level && right && callee_name(source, unparenthesized(*right)) == "op.get_context";
    }
  }
  for_each_child(node, [&](TSNode c) {
    if (ts_node_is_named(c)) collect_context_variables(source, c, false, vars);
    return true;
  });
}

// The first undecorated top-level function named "upgrade".
std::optional<TSNode> find_upgrade_function(const ParsedSource& parsed) {
  std::optional<TSNode> found;
  for_each_child(parsed.root(), [&](TSNode c) {
    if (!ts_node_is_named(c) || !node_is(c, "function_definition")) return true;
    auto name = field(c, "name");
    if (name && node_text(parsed.source, *name) == "upgrade") found = c;
    return !found;
  });
  return found;
}

// Names bound to op.get_context() by the top-level statements of upgrade that
// start before a given with statement. With statements are tested in source
// order, so the statements folded in so far are kept and only the new ones
// are added: rebuilding the map per statement would be quadratic.
class ContextVariablesBefore {
 public:
  ContextVariablesBefore(std::string_view source, TSNode upgrade_body) : source_(source), body_(upgrade_body) {}

  const ContextVariables& at(TSNode with_stmt) {
    const uint32_t limit = ts_node_start_byte(with_stmt);
    if (!statements_) statements_ = children(body_);
    if (limit < limit_) {
      vars_.clear();
      next_ = 0;
    }
    limit_ = limit;
    for (; next_ < statements_->size() && ts_node_start_byte((*statements_)[next_]) < limit; ++next_)
      collect_context_variables(source_, (*statements_)[next_], true, vars_);
    return vars_;
  }

 private:
  std::string_view source_;
  TSNode body_;
  std::optional<std::vector<TSNode>> statements_;
  size_t next_ = 0;
  uint32_t limit_ = 0;
  ContextVariables vars_;
};

// The expressions of a with statement's items as Python 3.10+ reads them.
// The grammar gives `with (a(),):` as one item holding a tuple, where Python
// sees the item a() in parentheses; and it gives `with (*a, b()):` as two
// items, where Python sees one tuple, as a starred or an unparenthesised
// assignment expression can be no item of its own.
std::vector<TSNode> with_item_expressions(TSNode clause) {
  std::vector<TSNode> items;
  const auto add = [&](TSNode c) {
    if (is_value_node(c)) items.push_back(c);
    return true;
  };
  for_each_child(clause, [&](TSNode item) {
    if (!is_value_node(item)) return true;
    if (!node_is(item, "with_item")) return add(item);
    if (auto expr = first_value_child(item)) items.push_back(*expr);
    return true;
  });
  if (items.size() == 1 && node_is(items.front(), "tuple")) {
    const TSNode tuple = items.front();
    items.clear();
    for_each_child(tuple, add);
  }
  for (TSNode item : items) {
    if (node_is(item, "list_splat") || node_is(item, "named_expression")) return {};
  }
  return items;
}

class AlembicWalker {
 public:
  AlembicWalker(std::string_view source, TSNode upgrade_body, std::vector<Operation>& out)
      : source_(source), out_(out), context_(source, upgrade_body) {}

  void walk(TSNode node, CallPlace place) {
    if (is_nested_definition(node)) return;
    if (node_is(node, "call")) {
      // Calls inside the arguments are not statements of the migration.
      for (Operation& op : decode_alembic_op_call(source_, node, place)) out_.push_back(std::move(op));
      return;
    }
    if (node_is(node, "with_statement")) {
      place.in_autocommit = place.in_autocommit || is_autocommit_with(node);
      if (auto body = field(node, "body")) walk(*body, place);
      return;
    }
    const std::string_view type = node_type(node);
    place.unconditional = place.unconditional && !is_branching_statement(type);
    // `(a())` and `(a(), b())` are the statements `a()` and `a(), b()`.
    place.statement =
        type == "expression_statement" || (place.statement && (type == "parenthesized_expression" || type == "tuple"));
    for_each_child(node, [&](TSNode c) {
      if (ts_node_is_named(c)) walk(c, place);
      return true;
    });
  }

 private:
  bool is_autocommit_with(TSNode with_stmt) {
    std::optional<TSNode> clause;
    for_each_child(with_stmt, [&](TSNode c) {
      if (ts_node_is_named(c) && node_is(c, "with_clause")) clause = c;
      return !clause;
    });
    if (!clause) return false;

    static constexpr std::string_view kDirect = "op.get_context().autocommit_block";
    static constexpr std::string_view kMethod = ".autocommit_block";
    for (TSNode expr : with_item_expressions(*clause)) {
      const auto name = callee_name(source_, unparenthesized(expr));
      if (!name) continue;
      if (*name == kDirect) return true;
      if (name->size() > kMethod.size() && name->ends_with(kMethod)) {
        // `ctx.autocommit_block()` where ctx = op.get_context() earlier in upgrade.
        const ContextVariables& vars = context_.at(with_stmt);
        auto it = vars.find(name->substr(0, name->size() - kMethod.size()));
        if (it != vars.end() && it->second) return true;
      }
    }
    return false;
  }

  std::string_view source_;
  std::vector<Operation>& out_;
  ContextVariablesBefore context_;
};

}  // namespace

std::vector<Operation> alembic_operations(const ParsedSource& parsed) {
  std::vector<Operation> out;
  auto upgrade = find_upgrade_function(parsed);
  if (!upgrade) return out;
  if (auto body = field(*upgrade, "body")) AlembicWalker(parsed.source, *body, out).walk(*body, CallPlace{});
  return out;
}

}  // namespace tarn
