#include "config/toml.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "testing/toml_scalar.h"

namespace tarn::toml {
namespace {

// A short text of a read document: {k=v,...}, [v,...] and scalars as
// KIND:TEXT.
std::string render(const Document& doc, std::string_view text, NodeId node) {
  const Kind kind = doc.kind(node);
  if (kind != Kind::Table && kind != Kind::Array) return testing::toml_scalar(doc, text, node);
  std::string out = kind == Kind::Table ? "{" : "[";
  for (NodeId child = doc.first(node); child != kNoNode; child = doc.next(child)) {
    if (child != doc.first(node)) out += ",";
    if (kind == Kind::Table) out += std::string(doc.key(child)) + "=";
    out += render(doc, text, child);
  }
  return out + (kind == Kind::Table ? "}" : "]");
}

struct ReadRow {
  std::string text;
  std::string read;
};

TEST(TomlParse, ReadsTomlOneZero) {
  const ReadRow rows[] = {
      // The two faults of the reader this one replaced: an accented letter
      // beside a private-use character, and a leap second.
      {"author = \"Zo\xC3\xAB\"\nicon = '\xF3\xB0\x81\x81'\n", "{author=str:Zo\xC3\xAB,icon=str:\xF3\xB0\x81\x81}"},
      {"last-leap-second = 2016-12-31T23:59:60Z", "{last-leap-second=odt:2016-12-31T23:59:60Z}"},
      {"", "{}"},
      // a byte-order mark before the document
      {"\xEF\xBB\xBF" "a = 1", "{a=int:1}"},
      {"# only \t a comment\r\n\n", "{}"},
      // keys: quoted and bare alike, empty, dotted with blanks, digits
      {"\"\" = 1\n'x y' = 2\n\"\\u00e9\" = 3", "{=int:1,x y=int:2,\xC3\xA9=int:3}"},
      {"a . \"b\" .\t'c' = 1\na.b.d = 2", "{a={b={c=int:1,d=int:2}}}"},
      {"3.14 = 1\ntrue = false", "{3={14=int:1},true=bool:false}"},
      // strings
      {R"(s = "\b\t\n\f\r\"\\\u00E9\U0001F600")", "{s=str:\b\t\n\f\r\"\\\xC3\xA9\xF0\x9F\x98\x80}"},
      {"s = 'C:\\path\\\"x\"'", "{s=str:C:\\path\\\"x\"}"},
      {"s = \"\"\"\nline\r\nnext\"\"\"", "{s=str:line\nnext}"},
      {"s = \"\"\"a \\\n\n   \t b\\  \r\n  c\"\"\"", "{s=str:a bc}"},
      {"s = \"\"\"\"a\"\"\"\"\"", "{s=str:\"a\"\"}"},
      {"s = '''''a'''''", "{s=str:''a''}"},
      {"s = '''\n\\n\t'''", "{s=str:\\n\t}"},
      // integers: the edges of 64 bits, bases, signs and underscores
      {"a = 9223372036854775807\nb = -9223372036854775808\nc = +0\nd = -0",
       "{a=int:9223372036854775807,b=int:-9223372036854775808,c=int:0,d=int:0}"},
      {"a = 0x7FFF_FFFF_FFFF_FFFF\nb = 0o0755\nc = 0b1_0\nd = 1_000",
       "{a=int:9223372036854775807,b=int:493,c=int:2,d=int:1000}"},
      // floats
      {"f = [+1.5, -0.0, 1e1_0, 6.626E-34, 0e0, inf, -inf, +nan, nan, 1_2.3_4]",
       "{f=[float:+1.5,float:-0.0,float:1e1_0,float:6.626E-34,float:0e0,float:inf,float:-inf,float:+nan,float:nan,"
       "float:1_2.3_4]}"},
      // date-times: separators, offsets, fractions, leap days and year zero
      {"a = 1979-05-27 07:32:00.999999999-07:00\nb = 1979-05-27t07:32:00z\nc = 2000-02-29T00:00:00",
       "{a=odt:1979-05-27 07:32:00.999999999-07:00,b=odt:1979-05-27t07:32:00z,c=ldt:2000-02-29T00:00:00}"},
      {"a = 0000-02-29\nb = 23:59:60.5\nc = [2024-02-29 ,1979-05-27 # c\n]",
       "{a=date:0000-02-29,b=time:23:59:60.5,c=[date:2024-02-29,date:1979-05-27]}"},
      // arrays: mixed, trailing comma, comments and newlines
      {"a = [ 1, 'x', [], {}, [true,],\n# c\n]", "{a=[int:1,str:x,[],{},[bool:true]]}"},
      {"a = [\r\n  1 # one\r\n  , 2\r\n]", "{a=[int:1,int:2]}"},
      // inline tables, with dotted keys and values over lines
      {"t = { a.b = 1, a.c = [\n2], d = {} }", "{t={a={b=int:1,c=[int:2]},d={}}}"},
      // tables: implicit ones defined later, sub-tables of dotted ones
      {"[a.b.c]\n[a]\nx = 1\n[a.b]\ny = 2", "{a={b={c={},y=int:2},x=int:1}}"},
      {"[fruit]\napple.color = 'red'\napple.taste.sweet = true\n[fruit.apple.texture]\nsmooth = true",
       "{fruit={apple={color=str:red,taste={sweet=bool:true},texture={smooth=bool:true}}}}"},
      {"[a.b.c]\n[a]\nb.d = 1", "{a={b={c={},d=int:1}}}"},
      // arrays of tables, with sub-tables of their last element
      {"[[p]]\nn = 1\n[p.q]\nm = 2\n[[p]]\n[[p.r]]\n[[p.r]]\nk = 3",
       "{p=[{n=int:1,q={m=int:2}},{r=[{},{k=int:3}]}]}"},
      {"[ a ]\n[[ a.b ]]\n[a.b.c]", "{a={b=[{c={}}]}}"},
  };
  for (const auto& row : rows) {
    auto doc = parse(row.text, "t.toml");
    ASSERT_TRUE(doc.ok()) << row.text << ": " << doc.error().text;
    EXPECT_EQ(render(*doc, row.text, Document::kRoot), row.read) << row.text;
  }
}

TEST(TomlParse, RefusesWhatIsNotTomlOneZero) {
  const char* rows[] = {
      // redefinitions
      "a = 1\na = 2", "a = 1\n\"a\" = 2", "[a]\n[a]", "a.b = 1\n[a]", "[a]\nb.c = 1\n[a.b]", "a = {}\n[a]",
      "a = {b = 1}\n[a.c]", "a = {}\na.b = 1", "a = [1]\n[[a]]", "a = []\n[a.b]", "[[a]]\n[a]", "[a]\n[[a]]",
      "[a.b]\n[[a]]", "[a.b.c]\nz = 9\n[a]\nb.c.t = 1", "[a.b]\n[a]\nb.c = 1", "[[a]]\n[a]\nb = 1", "[a]\nb = 1\n[a.b]",
      "[a]\nb = 1\n[a.b.c]", "t = {a = {b = 1}, a.c = 2}", "t = {a = 1, a.b = 2}", "t = {a.b = 1, a = 2}",
      "[[a.b]]\n[a]\nb.x = 1",
      // lines
      "a = 1 b = 2", "[a] b = 1", "a =", "= 1", "a", "[a", "[[a]", "[ [a]]", "[[a] ]", "[]", "[a.]", "[.a]", "a..b = 1",
      "a = 1\rb = 2", "a = 1\r", "a = 1\n\357\273\277b = 2", "\xC3\xA9 = 1", "\"\"\"a\"\"\" = 1", "'''a''' = 1",
      // comments and control characters
      "# \x01", "# \x7F", "a = 1 # \x1B", "a = \"\x7F\"", "a = 'x\x1Fy'", "a = \"\"\"\x08\"\"\"", "a = '''\r'''",
      // strings
      "a = \"x", "a = \"x\ny\"", "a = 'x\ny'", "a = \"\"\"x\"\"\"\"\"\"", "a = '''x''''''", "a = \"\\e\"",
      "a = \"\\x41\"", "a = \"\\uD800\"", "a = \"\\U00110000\"", "a = \"\\u12\"", "a = \"\\ \"",
      "a = \"\"\"\\ x\n\"\"\"",
      // integers and floats
      "a = 9223372036854775808", "a = -9223372036854775809", "a = 0x8000000000000000", "a = 01", "a = -01",
      "a = 1__0", "a = 1_", "a = _1", "a = +0x1", "a = 0X1", "a = 0x", "a = 0b2", "a = 1.", "a = .5", "a = 1e",
      "a = 1.e5", "a = 1e_5", "a = 1_.5", "a = Inf", "a = +-1", "a = 1-2", "a = 00.5", "a = infinity",
      // dates and times
      "a = 2023-02-29", "a = 1900-02-29", "a = 2024-13-01", "a = 2024-00-10", "a = 2024-04-31", "a = 2024-01-00",
      "a = 24:00:00", "a = 23:60:00", "a = 23:59:61", "a = 07:32", "a = 07:32:00Z", "a = 1979-05-27T07:32:00+24:00",
      "a = 1979-05-27T07:32:00+05:60", "a = 1979-05-27T07:32:00.Z", "a = 1979-05-27T", "a = 1979-05-27 7:32:00",
      "a = 1979-5-27", "a = 1979-05-27T07:32:00+0700",
      // arrays and inline tables
      "a = [1,,2]", "a = [,]", "a = [1", "a = [1 2]", "a = {a = 1,}", "a = {,}", "a = {a = 1\n}", "a = {\na = 1}",
      "a = {a = 1 b = 2}", "a = [}", "a = {]", "a = {a}",
      // not UTF-8: a stray byte, an overlong form, a surrogate, a cut sequence
      "a = \"\xFF\"", "a = '\xC0\xAF'", "# \xED\xA0\x80", "a = \"\xE2\x82",
  };
  for (const char* text : rows) {
    auto doc = parse(text, "dir/t.toml");
    ASSERT_FALSE(doc.ok()) << text;
    EXPECT_EQ(doc.error().kind, ErrorKind::ConfigParse) << text;
    EXPECT_EQ(doc.error().message(), "Failed to parse configuration: dir/t.toml");
  }
}

// Small tables are searched along their members, larger ones through the
// index: a key is found again whichever way it was made, and on either side
// of the switch.
TEST(TomlParse, KeysOfLargeTablesAreFoundAgain) {
  std::string keys;
  for (int i = 0; i < 12; ++i) keys += "k" + std::to_string(i) + ".x = " + std::to_string(i) + "\n";
  for (const int i : {0, 7, 8, 9, 11}) {
    const std::string k = "k" + std::to_string(i);
    EXPECT_FALSE(parse(keys + k + ".x = 1", "t.toml").ok()) << k;
    EXPECT_FALSE(parse(keys + "[" + k + "]", "t.toml").ok()) << k;
    auto added = parse(keys + k + ".y = 1", "t.toml");
    ASSERT_TRUE(added.ok()) << k;
    EXPECT_EQ(added->integer(added->find(added->find(Document::kRoot, k), "y")), 1) << k;
  }
  EXPECT_EQ(parse(keys, "t.toml")->find(Document::kRoot, "k12"), kNoNode);
}

TEST(TomlParse, ErrorNamesLineAndColumn) {
  auto doc = parse("a = 1\r\nb = ?\n", "t.toml");
  ASSERT_FALSE(doc.ok());
  EXPECT_EQ(doc.error().text, "line 2, column 5: expected a value");
}

std::string repeat(std::string_view unit, size_t times) {
  std::string out;
  out.reserve(unit.size() * times);
  for (size_t i = 0; i < times; ++i) out += unit;
  return out;
}

struct Shape {
  const char* name;
  std::string (*make)(size_t);
};

// Nesting, long keys and many members, each as deep or as long as a
// megabyte allows: read without recursion and in linear work.
const Shape kShapes[] = {
    {"nested arrays", [](size_t n) { return "x = " + repeat("[", n) + repeat("]", n); }},
    {"nested inline tables", [](size_t n) { return "x = " + repeat("{a=", n) + "1" + repeat("}", n); }},
    {"arrays of inline tables", [](size_t n) { return "x = " + repeat("[{a.a=", n) + "1" + repeat("}]", n); }},
    {"a dotted key", [](size_t n) { return repeat("a.", n) + "b = 1"; }},
    {"a dotted header", [](size_t n) { return "[" + repeat("a.", n) + "b]\nc = 1"; }},
    {"quoted dotted key", [](size_t n) { return repeat("\"a\".", n) + "b = 1"; }},
    {"many keys", [](size_t n) {
       std::string out;
       for (size_t i = 0; i < n; ++i) out += "k" + std::to_string(i) + " = " + std::to_string(i) + "\n";
       return out;
     }},
    {"many arrays of tables", [](size_t n) { return repeat("[[a]]\nb.c = 1\n", n); }},
    {"headers sharing a long prefix", [](size_t n) {
       std::string out;
       for (size_t i = 0; i < n / 64; ++i) out += "[" + repeat("a.", 64) + "b" + std::to_string(i) + "]\n";
       return out;
     }},
    {"a long string", [](size_t n) { return "s = \"" + repeat("\\u00e9 ", n) + "\""; }},
    {"long keys", [](size_t n) { return repeat("a", n) + " = 1\n" + repeat("a", n - 1) + "b = 2\n"; }},
};

uint64_t parse_work(const std::string& text) {
  uint64_t work = 0;
  auto doc = parse(text, "t.toml", &work);
  EXPECT_TRUE(doc.ok()) << text.substr(0, 40) << ": " << doc.error().text;
  return work;
}

// Work, not time: at eight times the size each byte costs at most a little
// more than before (a quadratic reader's would cost eight times as much), and
// a bounded number of steps.
TEST(TomlParse, WorkGrowsLinearlyWithTheText) {
  for (const auto& shape : kShapes) {
    const std::string small = shape.make(4000), large = shape.make(32000);
    const double per_byte_small = static_cast<double>(parse_work(small)) / static_cast<double>(small.size());
    const double per_byte_large = static_cast<double>(parse_work(large)) / static_cast<double>(large.size());
    EXPECT_LE(per_byte_large, 1.125 * per_byte_small) << shape.name;
    EXPECT_LE(per_byte_large, 8) << shape.name;
  }
}

TEST(TomlParse, DeepestDocumentsAreReadWhole) {
  // Half a million arrays in a megabyte, and a key of half a million parts.
  const size_t depth = 500000;
  const std::string arrays = "x = " + repeat("[", depth) + repeat("]", depth);
  auto doc = parse(arrays, "t.toml");
  ASSERT_TRUE(doc.ok()) << doc.error().text;
  size_t levels = 0;
  for (NodeId n = doc->find(Document::kRoot, "x"); n != kNoNode; n = doc->first(n)) ++levels;
  EXPECT_EQ(levels, depth);

  auto dotted = parse(repeat("a.", depth) + "b = 1\n[" + repeat("a.", depth) + "c]", "t.toml");
  ASSERT_TRUE(dotted.ok()) << dotted.error().text;
  NodeId table = Document::kRoot;
  for (size_t i = 0; i < depth; ++i) table = dotted->find(table, "a");
  ASSERT_NE(table, kNoNode);
  EXPECT_EQ(dotted->integer(dotted->find(table, "b")), 1);
  EXPECT_EQ(dotted->kind(dotted->find(table, "c")), Kind::Table);
}

TEST(TomlParse, HostileTextsFailWithoutCrashing) {
  std::string garbage;
  for (int i = 0; i < 4096; ++i) garbage.push_back(static_cast<char>((i * 7919 + 13) % 256));
  const std::string rows[] = {
      garbage,
      "x = " + repeat("[", 500000),
      "x = " + repeat("{a.a.a.a=", 100000),
      "x = " + repeat("[{a=[", 100000) + "}",
      repeat("[[a]]\n", 100000) + "a = 1\n[a]",
      "s = \"\"\"" + repeat("\"\"\\", 100000),
      std::string("a = \"\0\"", 7),
  };
  for (const auto& text : rows) {
    auto doc = parse(text, "t.toml");
    EXPECT_FALSE(doc.ok()) << text.substr(0, 40);
  }
}

}  // namespace
}  // namespace tarn::toml
