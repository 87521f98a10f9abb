#include "ast/call_args.h"

#include "parser/node.h"

namespace tarn {

CallArguments::CallArguments(std::string_view source, TSNode arguments) : source_(source) {
  for_each_child(arguments, [&](TSNode child) {
    if (!is_value_node(child)) return true;
    if (!node_is(child, "keyword_argument")) {
      positional_.push_back(unparenthesized(child));
      has_dictionary_splat_ |= node_is(child, "dictionary_splat");
      return true;
    }
    const auto name = field(child, "name");
    const auto value = field(child, "value");
    if (name && value) keywords_.push_back({node_text(source_, *name), unparenthesized(*value)});
    return true;
  });
}

std::optional<TSNode> CallArguments::positional(size_t index) const {
  if (index >= positional_.size()) return std::nullopt;
  return positional_[index];
}

std::optional<TSNode> CallArguments::keyword(std::string_view name) const {
  for (const Keyword& keyword : keywords_) {
    if (keyword.name == name) return keyword.value;
  }
  return std::nullopt;
}

std::optional<TSNode> CallArguments::keyword_else_position(std::string_view name,
                                                           std::optional<size_t> index) const {
  if (auto value = keyword(name)) return value;
  if (!index) return std::nullopt;
  return positional(*index);
}

}  // namespace tarn
