// A TOML 1.0 reader for the configuration files. Values live in one vector of
// nodes that refer to each other by index, and the text is read with explicit
// stacks: neither reading nor freeing a document recurses, however deeply it
// nests, and the work grows linearly with the text.
#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "error/result.h"

namespace tarn::toml {

enum class Kind : uint8_t {
  Table,
  Array,
  String,
  Integer,
  Float,
  Boolean,
  OffsetDateTime,
  LocalDateTime,
  LocalDate,
  LocalTime,
};

using NodeId = uint32_t;
inline constexpr NodeId kNoNode = UINT32_MAX;

class Document {
 public:
  static constexpr NodeId kRoot = 0;

  Document() = default;
  // Moves keep the keys where members_ sees them; a copy would not.
  Document(Document&&) = default;
  Document& operator=(Document&&) = default;
  Document(const Document&) = delete;
  Document& operator=(const Document&) = delete;

  Kind kind(NodeId node) const { return nodes_[node].kind; }
  // The value of `key` in `table`, or kNoNode.
  NodeId find(NodeId table, std::string_view key) const;
  // Members of a table and elements of an array, in the order written.
  size_t size(NodeId node) const { return nodes_[node].count; }
  NodeId first(NodeId node) const { return nodes_[node].first; }
  NodeId next(NodeId node) const { return nodes_[node].next; }
  // The key of a table member.
  std::string_view key(NodeId node) const { return strings_[nodes_[node].key]; }

  std::string_view string(NodeId node) const { return strings_[nodes_[node].text]; }
  bool boolean(NodeId node) const { return nodes_[node].boolean; }
  int64_t integer(NodeId node) const { return nodes_[node].integer; }
  // Where a scalar stands in the text: floats and date-times are checked in
  // full but kept only as this.
  size_t begin(NodeId node) const { return nodes_[node].begin; }
  size_t end(NodeId node) const { return nodes_[node].end; }

 private:
  friend class Parser;

  struct Node {
    Kind kind = Kind::Table;
    uint8_t form = 0;  // how a table or array came to be (see toml.cc)
    bool boolean = false;
    NodeId first = kNoNode, last = kNoNode, next = kNoNode;
    uint32_t count = 0;
    uint32_t key = 0;   // in strings_, for a table member
    uint32_t text = 0;  // in strings_, for a string
    uint32_t begin = 0, end = 0;
    int64_t integer = 0;
  };

  // A table of up to this many members is searched along its list; larger
  // ones are found through members_.
  static constexpr uint32_t kListedMembers = 8;

  struct MemberKey {
    NodeId table;
    std::string_view name;  // into strings_, or the key looked for
    bool operator==(const MemberKey&) const = default;
  };
  // Keyed with a random seed per document, so no text can choose keys that
  // all land in one bucket.
  struct MemberHash {
    uint64_t k0, k1;
    size_t operator()(const MemberKey& key) const;
  };

  std::vector<Node> nodes_;
  std::deque<std::string> strings_;  // a deque: members_ keeps views into it
  std::unordered_map<MemberKey, NodeId, MemberHash> members_;  // of the larger tables
};

// Reads a whole document. A text that is not TOML 1.0 fails with ConfigParse
// naming `path`, whose never-shown source gives the line, column and reason.
// `work`, when given, grows by the steps taken (bytes read, nodes made, key
// bytes hashed and keys compared in a bucket), so tests can check the cost
// without a clock.
Result<Document> parse(std::string_view text, const std::string& path, uint64_t* work = nullptr);

}  // namespace tarn::toml
