#include "ast/django_args.h"

#include <algorithm>
#include <initializer_list>
#include <string>

#include "ast/django.h"
#include "ast/strings.h"
#include "parser/node.h"

namespace tarn {

namespace {

// Defined with the other readers below.
std::optional<std::string> read_sql_value(DjangoContext& ctx, TSNode value);
std::optional<std::string> read_sql_list(std::string_view source, TSNode node);

std::string_view after_last_dot(std::string_view text) {
  const size_t dot = text.rfind('.');
  return dot == std::string_view::npos ? text : text.substr(dot + 1);
}

std::string_view without_trailing_semicolons(std::string_view text) {
  while (!text.empty() && text.back() == ';') text.remove_suffix(1);
  return text;
}

bool is_string_literal(TSNode node) { return string_node_kind(node).has_value(); }

// Django's no-op reverse, however much of its module path is written.
bool is_noop_marker(std::string_view source, TSNode attribute) {
  if (last_name(source, attribute) != "noop") return false;
  const auto object = field(attribute, "object");
  const auto owner = object ? last_name(source, *object) : std::nullopt;
  return owner == "RunSQL" || owner == "RunPython";
}

bool has_content(TSNode list) { return first_value_child(list).has_value(); }

// Appends the operations decoded from the calls of one operation list.
void decode_operation_list(DjangoContext& ctx, TSNode list, bool bound, std::vector<Operation>& out) {
  if (ctx.cut_short) return;
  if (ctx.nesting >= DjangoContext::kMaxOperationNesting) {
    ctx.cut_short = "operation nesting exceeds the maximum depth of " +
                    std::to_string(DjangoContext::kMaxOperationNesting);
    return;
  }
  if (bound) {
    // A list being decoded is not entered again: one that names itself,
    // directly or through others, is read once.
    if (std::find(ctx.open_lists.begin(), ctx.open_lists.end(), list.id) != ctx.open_lists.end()) return;
    if (!ctx.admit_bound_value(list)) return;
    ctx.open_lists.push_back(list.id);
  }
  ++ctx.nesting;
  decode_operation_calls(ctx, list, out);
  --ctx.nesting;
  if (bound) ctx.open_lists.pop_back();
}

// One side of a SeparateDatabaseAndState: decodes its operations into `out`
// (when given) and answers whether the side holds operations.
bool read_operation_side(DjangoContext& ctx, std::optional<TSNode> arg, std::vector<Operation>* out) {
  if (!arg || node_is(*arg, "none")) return false;
  // Every call in a list decodes to an operation, so "an operation was decoded"
  // never differs from "the list holds something".
  if (node_is(*arg, "list")) {
    if (out) decode_operation_list(ctx, *arg, false, *out);
    return has_content(*arg);
  }
  if (!node_is(*arg, "identifier")) return true;
  const auto list = unparenthesized(ctx.scope.lookup(std::string(node_text(ctx.source, *arg))));
  if (!list || !node_is(*list, "list")) return true;
  if (out) decode_operation_list(ctx, *list, true, *out);
  // A bound list may be named many times; finding its first element is not
  // free in a long list, so the answer is kept.
  const auto [it, added] = ctx.bound_list_content.try_emplace(list->id, false);
  if (added) it->second = has_content(*list);
  return it->second;
}

template <typename Together>
Together read_together_args(const CallArguments& args, std::string_view keyword) {
  Together out;
  const auto value = args.keyword_else_position(keyword, 1);
  out.has_entries = value && !is_none_or_empty_collection(args.source(), *value);
  out.model = read_name_argument(args, "name", 0).value_or("");
  return out;
}

bool is_one_of(std::string_view text, std::initializer_list<std::string_view> words) {
  return std::find(words.begin(), words.end(), text) != words.end();
}

}  // namespace

bool is_none_or_empty_call(std::string_view source, TSNode value, std::initializer_list<std::string_view> callees) {
  const TSNode node = unparenthesized(value);
  if (node_is(node, "none")) return true;
  const auto callee = callee_name(source, node);
  if (!callee || !is_one_of(*callee, callees)) return false;
  const auto args = field(node, "arguments");
  return args && node_is(*args, "argument_list") && !has_content(*args);
}

bool is_none_or_empty_collection(std::string_view source, TSNode value) {
  const TSNode node = unparenthesized(value);
  if (node_is(node, "list") || node_is(node, "tuple")) return !has_content(node);
  return is_none_or_empty_call(source, node, {"set"});
}

bool DjangoContext::admit_bound_value(TSNode value) {
  if (cut_short) return false;
  if (read_values.insert(value.id).second) return true;
  const uint64_t size = ts_node_end_byte(value) - ts_node_start_byte(value);
  if (size > reuse_budget) {
    cut_short = "reuse of module variables exceeds the budget of " + std::to_string(kReuseBudgetBytes) + " bytes";
    return false;
  }
  reuse_budget -= size;
  return true;
}

std::optional<std::string_view> callee_basename(std::string_view source, TSNode call) {
  const auto function = field(call, "function");
  if (!function) return std::nullopt;
  // Anything but a name (a call, a subscript) keeps its whole text, which
  // names no class.
  return last_name(source, *function).value_or(node_text(source, *function));
}

bool is_provided_value(std::string_view source, TSNode value) {
  const std::string_view text = trimmed_text(source, value);
  return text != "None" && last_name(source, value).value_or(after_last_dot(text)) != "NOT_PROVIDED";
}

std::optional<std::string> read_name_argument(const CallArguments& args, std::string_view keyword,
                                              std::optional<size_t> position) {
  const auto node = args.keyword_else_position(keyword, position);
  if (!node) return std::nullopt;
  return python_string_value(args.source(), *node);
}

payload::Sql read_run_sql_args(DjangoContext& ctx, const CallArguments& args) {
  payload::Sql out;
  if (const auto sql = args.keyword_else_position("sql", 0)) out.sql = read_sql_value(ctx, *sql).value_or("");
  if (const auto reverse = args.keyword_else_position("reverse_sql", 1)) {
    out.reverse_sql = read_sql_value(ctx, *reverse);
  }
  return out;
}

payload::Python read_run_python_args(const CallArguments& args) {
  payload::Python out;
  if (const auto code = args.keyword("code")) {
    out.code = python_string_value(args.source(), *code);
  } else if (const auto first = args.positional(0)) {
    out.code = node_text(args.source(), *first);
  }
  if (const auto reverse = args.keyword("reverse_code")) {
    out.reverse_code = python_string_value(args.source(), *reverse);
  } else if (const auto second = args.positional(1)) {
    out.reverse_code = std::string(node_text(args.source(), *second));
  }
  if (out.reverse_code == "None") out.reverse_code.reset();
  return out;
}

payload::SeparateDatabaseAndState read_separate_database_and_state_args(DjangoContext& ctx, const CallArguments& args) {
  payload::SeparateDatabaseAndState out;
  const auto database = args.keyword_else_position("database_operations", 0);
  const auto state = args.keyword_else_position("state_operations", 1);
  out.has_database_operations = read_operation_side(ctx, database, &out.database_operations);
  // The state side is not kept, so it need not be decoded.
  out.has_state_operations = read_operation_side(ctx, state, nullptr);
  return out;
}

payload::UniqueTogether read_unique_together_args(const CallArguments& args) {
  return read_together_args<payload::UniqueTogether>(args, "unique_together");
}

payload::IndexTogether read_index_together_args(const CallArguments& args) {
  return read_together_args<payload::IndexTogether>(args, "index_together");
}

namespace {

std::optional<std::string> read_sql_value(DjangoContext& ctx, TSNode value) {
  const TSNode node = unparenthesized(value);
  const std::string_view type = node_type(node);
  if (type == "string" || type == "concatenated_string") return python_string_value(ctx.source, node);
  if (type == "list" || type == "tuple") return read_sql_list(ctx.source, node);
  if (type == "attribute") {
    if (is_noop_marker(ctx.source, node)) return std::string();
    return std::nullopt;
  }
  if (type != "identifier") return std::nullopt;
  const auto bound = unparenthesized(ctx.scope.lookup(std::string(node_text(ctx.source, node))));
  if (!bound) return std::nullopt;
  const bool literal = is_string_literal(*bound);
  if (!literal && !node_is(*bound, "list") && !node_is(*bound, "tuple")) return std::nullopt;
  if (!ctx.admit_bound_value(*bound)) return std::nullopt;
  return literal ? python_string_value(ctx.source, *bound) : read_sql_list(ctx.source, *bound);
}

std::optional<std::string> read_sql_list(std::string_view source, TSNode node) {
  std::string out;
  bool any = false, readable = true;
  const auto add_piece = [&](TSNode literal) {
    if (any) out += ";\n";
    out += without_trailing_semicolons(python_string_value(source, literal));
    any = true;
  };
  for_each_child(node, [&](TSNode element) {
    if (!is_value_node(element)) return true;
    const TSNode child = unparenthesized(element);
    if (is_string_literal(child)) {
      add_piece(child);
    } else if (node_is(child, "list") || node_is(child, "tuple")) {
      // (sql, params): only the statement counts.
      const auto first = unparenthesized(first_value_child(child));
      readable = first && is_string_literal(*first);
      if (readable) add_piece(*first);
    } else {
      readable = false;
    }
    return readable;
  });
  if (!readable || !any) return std::nullopt;
  return out;
}

}  // namespace

}  // namespace tarn
