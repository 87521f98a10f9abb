#include "ast/call_args.h"

#include <gtest/gtest.h>

#include "ast/test_support.h"

namespace tarn {
namespace {

using testing::assigned_value;
using testing::parse_source;

// The call's arguments as "positional | keyword=value ..." (source texts).
std::string view_text(const std::string& call) {
  const ParsedSource parsed = parse_source("x = " + call + "\n");
  const CallArguments args(parsed.source, *field(assigned_value(parsed), "arguments"));
  std::string out;
  const auto text = [&](TSNode n) { return std::string(node_text(parsed.source, n)); };
  for (size_t i = 0; i < args.positional_count(); ++i) out += text(*args.positional(i)) + " ";
  out += "|";
  for (const auto& [name, value] : args.keywords()) out += " " + std::string(name) + "=" + text(value);
  if (args.has_dictionary_splat()) out += " **";
  return out;
}

TEST(CallArguments, PositionsAndKeywordsInOnePass) {
  const std::pair<std::string, std::string> cases[] = {
      {"f()", "|"},
      {"f(a, (b), k=1, *rest)", "a b *rest | k=1"},
      {"f(  # why\n a,  # first\n k=((2)),\n)", "a | k=2"},
      {"f(a, \\\n b, k=(\\\n 3))", "a b | k=3"},
      {"f(k=1, k=2, **extra)", "**extra | k=1 k=2 **"},
      {"f((a,), k=(1, 2))", "(a,) | k=(1, 2)"},
  };
  for (const auto& [call, expected] : cases) EXPECT_EQ(view_text(call), expected) << call;
}

}  // namespace
}  // namespace tarn
