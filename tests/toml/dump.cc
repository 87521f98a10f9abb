// Test-only: reads documents from stdin, each written as its length in bytes
// on a line of its own and then its bytes, and prints one JSON line for each:
// {"error": "..."} when the TOML reader refuses it, else {"value": ...} with
// tables as objects, arrays as arrays and every other value as the string
// "KIND:TEXT" of testing/toml_scalar.h. differential.py compares these with
// Python's tomllib.
#include <iostream>
#include <iterator>
#include <string>

#include <nlohmann/json.hpp>

#include "config/toml.h"
#include "testing/toml_scalar.h"

namespace {

using tarn::toml::Document;
using tarn::toml::Kind;
using tarn::toml::NodeId;
using Json = nlohmann::ordered_json;

// The generated documents nest a few dozen levels at most; the reader's own
// tests cover deeper ones.
constexpr int kMaxDepth = 2000;

Json to_json(const Document& doc, std::string_view text, NodeId node, int depth) {
  if (depth > kMaxDepth) return "too-deep:";
  if (doc.kind(node) == Kind::Table) {
    Json out = Json::object();
    for (NodeId m = doc.first(node); m != tarn::toml::kNoNode; m = doc.next(m)) {
      out[std::string(doc.key(m))] = to_json(doc, text, m, depth + 1);
    }
    return out;
  }
  if (doc.kind(node) == Kind::Array) {
    Json out = Json::array();
    for (NodeId e = doc.first(node); e != tarn::toml::kNoNode; e = doc.next(e)) {
      out.push_back(to_json(doc, text, e, depth + 1));
    }
    return out;
  }
  return tarn::testing::toml_scalar(doc, text, node);
}

}  // namespace

int main() {
  std::ios::sync_with_stdio(false);
  std::string length_line;
  while (std::getline(std::cin, length_line)) {
    const size_t length = std::stoul(length_line);
    std::string text(length, '\0');
    if (!std::cin.read(text.data(), static_cast<std::streamsize>(length))) {
      std::cerr << "dump: input ends inside a document\n";
      return 2;
    }
    auto doc = tarn::toml::parse(text, "document");
    const Json line = doc.ok() ? Json{{"value", to_json(*doc, text, Document::kRoot, 0)}}
                               : Json{{"error", doc.error().text}};
    std::cout << line.dump() << '\n';
  }
  return 0;
}
