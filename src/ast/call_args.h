// The arguments of one call, read in a single pass so that the decoders can
// ask for any number of keywords and positions without walking the argument
// list again.
#pragma once

#include <tree_sitter/api.h>

#include <cstddef>
#include <optional>
#include <string_view>
#include <vector>

namespace tarn {

class CallArguments {
 public:
  struct Keyword {
    std::string_view name;
    TSNode value;
  };

  // `arguments` is the call's argument list. Every value handed out is seen
  // through its parentheses.
  CallArguments(std::string_view source, TSNode arguments);

  std::string_view source() const { return source_; }

  // Positional arguments: splats included; keyword arguments, comments and
  // line continuations not.
  size_t positional_count() const { return positional_.size(); }
  // Positional argument `index`, counted from 0.
  std::optional<TSNode> positional(size_t index) const;
  bool has_dictionary_splat() const { return has_dictionary_splat_; }

  // Keyword arguments that have a value, in order.
  const std::vector<Keyword>& keywords() const { return keywords_; }
  // The value of the first keyword argument `name`.
  std::optional<TSNode> keyword(std::string_view name) const;
  // The same, else (when `index` is given) positional argument `index`.
  std::optional<TSNode> keyword_else_position(std::string_view name, std::optional<size_t> index) const;

 private:
  std::string_view source_;
  std::vector<TSNode> positional_;
  std::vector<Keyword> keywords_;
  bool has_dictionary_splat_ = false;
};

}  // namespace tarn
