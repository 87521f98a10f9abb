#include "config/toml.h"

#include <algorithm>
#include <chrono>
#include <cstring>
#include <random>
#include <utility>

#include "util/utf8.h"

namespace tarn::toml {

namespace {

// How a table came to be, which decides what may still add to it.
enum TableForm : uint8_t {
  kImplicit,  // only named on the way to a header's table: a header may still define it
  kDotted,    // made by dotted keys: more of them may add to it, a header may not define it
  kHeader,    // defined by a header (or the root, or an element of an array of tables)
  kInline,    // an inline table: complete as written
};

enum ArrayForm : uint8_t {
  kStatic,    // written as a value: complete as written
  kOfTables,  // made by [[...]] headers, each of which appends a table
};

uint64_t rotate_left(uint64_t x, int bits) { return (x << bits) | (x >> (64 - bits)); }

// Up to eight bytes as a word in the machine's byte order: the hashes are
// only compared within one process.
uint64_t word_of(std::string_view bytes) {
  uint64_t word = 0;
  if (!bytes.empty()) std::memcpy(&word, bytes.data(), std::min<size_t>(bytes.size(), 8));
  return word;
}

// SipHash-1-3 of `first` followed by `data`.
uint64_t sip_hash(uint64_t k0, uint64_t k1, uint64_t first, std::string_view data) {
  uint64_t v0 = k0 ^ 0x736f6d6570736575ULL, v1 = k1 ^ 0x646f72616e646f6dULL;
  uint64_t v2 = k0 ^ 0x6c7967656e657261ULL, v3 = k1 ^ 0x7465646279746573ULL;
  const auto round = [&] {
    v0 += v1, v1 = rotate_left(v1, 13), v1 ^= v0, v0 = rotate_left(v0, 32);
    v2 += v3, v3 = rotate_left(v3, 16), v3 ^= v2;
    v0 += v3, v3 = rotate_left(v3, 21), v3 ^= v0;
    v2 += v1, v1 = rotate_left(v1, 17), v1 ^= v2, v2 = rotate_left(v2, 32);
  };
  const auto absorb = [&](uint64_t m) {
    v3 ^= m;
    round();
    v0 ^= m;
  };
  absorb(first);
  size_t i = 0;
  for (; i + 8 <= data.size(); i += 8) absorb(word_of(data.substr(i, 8)));
  absorb((static_cast<uint64_t>(data.size() + 8) << 56) ^ word_of(data.substr(i)));
  v2 ^= 0xff;
  round(), round(), round();
  return v0 ^ v1 ^ v2 ^ v3;
}

// A seed no text can know in advance; the clock stands in where no random
// device is to be had.
std::pair<uint64_t, uint64_t> random_seed() {
  try {
    std::random_device device;
    const auto word = [&] { return (static_cast<uint64_t>(device()) << 32) ^ device(); };
    return {word(), word()};
  } catch (...) {
    const auto now = static_cast<uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count());
    return {now, now * 0x9e3779b97f4a7c15ULL};
  }
}

bool is_control(int c) { return (c < 0x20 && c != '\t') || c == 0x7f; }
bool is_digit(int c) { return c >= '0' && c <= '9'; }
bool is_bare_key_char(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || is_digit(c) || c == '_' || c == '-';
}
// What a number's text may hold; the number is checked once it is cut out.
bool is_number_char(char c) { return is_bare_key_char(c) || c == '+' || c == '.'; }

int digit_value(std::string_view text, size_t i, int base) {
  if (i >= text.size()) return -1;
  const int value = hex_digit_value(text[i]);
  return value < base ? value : -1;
}

// Digits with single underscores between them, from `i`; `value` gets their
// number and `overflow` is set when it passes 64 bits.
bool digit_run(std::string_view text, size_t& i, int base, uint64_t& value, bool& overflow) {
  int digit = digit_value(text, i, base);
  if (digit < 0) return false;
  for (;;) {
    const auto b = static_cast<uint64_t>(base), d = static_cast<uint64_t>(digit);
    if (value > (UINT64_MAX - d) / b) overflow = true;
    value = value * b + d;
    ++i;
    if (i < text.size() && text[i] == '_') ++i;
    digit = digit_value(text, i, base);
    if (digit < 0) return text[i - 1] != '_';
  }
}

// An integer or float as TOML 1.0 writes them, integers within 64 bits.
bool read_number(std::string_view text, Kind& kind, int64_t& integer) {
  const bool sign = !text.empty() && (text[0] == '+' || text[0] == '-');
  const bool negative = sign && text[0] == '-';
  const std::string_view unsigned_text = text.substr(sign ? 1 : 0);
  if (unsigned_text == "inf" || unsigned_text == "nan") {
    kind = Kind::Float;
    return true;
  }
  uint64_t magnitude = 0;
  bool overflow = false;
  size_t i = 0;
  if (!sign && text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'o' || text[1] == 'b')) {
    const int base = text[1] == 'x' ? 16 : text[1] == 'o' ? 8 : 2;
    i = 2;
    if (!digit_run(text, i, base, magnitude, overflow) || i != text.size()) return false;
    if (overflow || magnitude > static_cast<uint64_t>(INT64_MAX)) return false;
    kind = Kind::Integer;
    integer = static_cast<int64_t>(magnitude);
    return true;
  }
  i = sign ? 1 : 0;
  // No leading zeros: a 0 stands alone before the fraction or exponent.
  if (i + 1 < text.size() && text[i] == '0' && (is_digit(text[i + 1]) || text[i + 1] == '_')) return false;
  if (!digit_run(text, i, 10, magnitude, overflow)) return false;
  bool is_float = false;
  uint64_t ignored = 0;
  bool ignored_overflow = false;
  if (i < text.size() && text[i] == '.') {
    ++i;
    if (!digit_run(text, i, 10, ignored, ignored_overflow)) return false;
    is_float = true;
  }
  if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
    ++i;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
    if (!digit_run(text, i, 10, ignored, ignored_overflow)) return false;
    is_float = true;
  }
  if (i != text.size()) return false;
  if (is_float) {
    kind = Kind::Float;
    return true;
  }
  const uint64_t limit = negative ? uint64_t{1} << 63 : static_cast<uint64_t>(INT64_MAX);
  if (overflow || magnitude > limit) return false;
  kind = Kind::Integer;
  integer = static_cast<int64_t>(negative ? 0 - magnitude : magnitude);
  return true;
}

int days_in_month(int year, int month) {
  if (month == 2) return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0 ? 29 : 28;
  return month == 4 || month == 6 || month == 9 || month == 11 ? 30 : 31;
}

}  // namespace

size_t Document::MemberHash::operator()(const MemberKey& key) const {
  return static_cast<size_t>(sip_hash(k0, k1, key.table, key.name));
}

NodeId Document::find(NodeId table, std::string_view key) const {
  if (nodes_[table].count <= kListedMembers) {
    for (NodeId m = nodes_[table].first; m != kNoNode; m = nodes_[m].next) {
      if (strings_[nodes_[m].key] == key) return m;
    }
    return kNoNode;
  }
  const auto it = members_.find(MemberKey{table, key});
  return it == members_.end() ? kNoNode : it->second;
}

class Parser {
 public:
  Parser(std::string_view text, Document& doc, uint64_t* work) : s_(text), doc_(doc), work_(work) {
    static const std::pair<uint64_t, uint64_t> seed = random_seed();
    doc_.members_ = decltype(doc_.members_)(16, Document::MemberHash{seed.first, seed.second});
  }

  // Reads the whole text; false, with error_at() and reason() set, when it
  // is not TOML 1.0.
  bool document();
  size_t error_at() const { return error_at_; }
  const char* reason() const { return reason_; }

 private:
  using Node = Document::Node;
  // An array or inline table still open around the value being read.
  struct Frame {
    NodeId node;
    bool table;
  };

  int peek(size_t ahead = 0) const {
    return pos_ + ahead < s_.size() ? static_cast<unsigned char>(s_[pos_ + ahead]) : -1;
  }
  bool at(char c, size_t ahead = 0) const { return peek(ahead) == static_cast<unsigned char>(c); }
  bool fail(const char* reason) {
    error_at_ = pos_;
    reason_ = reason;
    return false;
  }
  void count(uint64_t steps) {
    if (work_ != nullptr) *work_ += steps;
  }

  Node& node(NodeId id) { return doc_.nodes_[id]; }
  NodeId make_node(Kind kind, uint8_t form);
  void link(NodeId parent, NodeId child);
  NodeId add_element(NodeId array) {
    const NodeId id = make_node(Kind::Table, kHeader);
    link(array, id);
    return id;
  }
  NodeId add_member(NodeId table, std::string& key, Kind kind, uint8_t form);
  NodeId find(NodeId table, std::string_view key);

  void skip_whitespace() {
    while (at(' ') || at('\t')) ++pos_;
  }
  bool newline();
  bool comment();
  bool skip_blank_lines();

  bool key();
  bool simple_key(std::string& out);
  bool header();
  bool member(NodeId table, NodeId& value);
  bool value(NodeId target);
  bool scalar(NodeId target);
  bool string(std::string& out);
  bool escape(std::string& out, bool multi_line);
  bool number_or_date_time(Kind& kind, int64_t& integer);
  int fixed_digits(size_t n);
  bool date_time(Kind& kind);
  bool hour_and_minute();
  bool time();

  std::string_view s_;
  size_t pos_ = 0;
  Document& doc_;
  uint64_t* work_;
  NodeId current_ = Document::kRoot;  // the table key/value lines go to
  std::vector<std::string> parts_;    // the dotted key being read; kept for their buffers
  size_t part_count_ = 0;
  std::vector<Frame> open_;
  size_t error_at_ = 0;
  const char* reason_ = "";
};

NodeId Parser::make_node(Kind kind, uint8_t form) {
  count(1);
  const auto id = static_cast<NodeId>(doc_.nodes_.size());
  doc_.nodes_.emplace_back();
  doc_.nodes_.back().kind = kind;
  doc_.nodes_.back().form = form;
  return id;
}

void Parser::link(NodeId parent, NodeId child) {
  Node& p = node(parent);
  if (p.last == kNoNode) {
    p.first = child;
  } else {
    node(p.last).next = child;
  }
  p.last = child;
  ++p.count;
}

NodeId Parser::add_member(NodeId table, std::string& key, Kind kind, uint8_t form) {
  const NodeId id = make_node(kind, form);
  doc_.strings_.push_back(std::move(key));
  node(id).key = static_cast<uint32_t>(doc_.strings_.size() - 1);
  link(table, id);
  const auto index = [&](NodeId m) { doc_.members_.emplace(Document::MemberKey{table, doc_.key(m)}, m); };
  if (node(table).count == Document::kListedMembers + 1) {
    for (NodeId m = node(table).first; m != kNoNode; m = node(m).next) index(m);
  } else if (node(table).count > Document::kListedMembers + 1) {
    index(id);
  }
  return id;
}

NodeId Parser::find(NodeId table, std::string_view key) {
  if (work_ != nullptr) {
    const Document::MemberKey member{table, key};
    // Each key compared costs up to its length; hashing costs the key's.
    const uint64_t compared = node(table).count <= Document::kListedMembers
                                  ? node(table).count
                                  : doc_.members_.bucket_size(doc_.members_.bucket(member));
    *work_ += key.size() + compared * (key.size() + 1);
  }
  return doc_.find(table, key);
}

bool Parser::newline() {
  if (at('\n')) {
    ++pos_;
    return true;
  }
  if (at('\r') && at('\n', 1)) {
    pos_ += 2;
    return true;
  }
  return false;
}

bool Parser::comment() {
  for (++pos_; pos_ < s_.size(); ++pos_) {
    const int c = static_cast<unsigned char>(s_[pos_]);
    if (c == '\n' || (c == '\r' && at('\n', 1))) break;
    if (is_control(c)) return fail("a control character in a comment");
  }
  return true;
}

bool Parser::skip_blank_lines() {
  for (;;) {
    skip_whitespace();
    if (at('#') && !comment()) return false;
    if (!newline()) return true;
  }
}

bool Parser::document() {
  if (s_.size() >= kNoNode) return fail("a text too long to hold");
  if (const size_t bad = first_invalid_utf8(s_); bad != std::string_view::npos) {
    pos_ = bad;
    return fail("not UTF-8");
  }
  make_node(Kind::Table, kHeader);
  // Editors on some systems start a UTF-8 file with a byte-order mark; it is
  // no part of the document.
  if (s_.starts_with("\xEF\xBB\xBF")) pos_ = 3;
  for (;;) {
    skip_whitespace();
    if (at('[')) {
      if (!header()) return false;
    } else if (peek() != -1 && !at('#') && !at('\n') && !at('\r')) {
      NodeId target = kNoNode;
      if (!member(current_, target) || !value(target)) return false;
    }
    skip_whitespace();
    if (at('#') && !comment()) return false;
    if (peek() == -1) {
      count(s_.size());
      return true;
    }
    if (!newline()) return fail("expected the end of the line");
  }
}

bool Parser::key() {
  part_count_ = 0;
  for (;;) {
    skip_whitespace();
    if (part_count_ == parts_.size()) parts_.emplace_back();
    if (!simple_key(parts_[part_count_++])) return false;
    skip_whitespace();
    if (!at('.')) return true;
    ++pos_;
  }
}

bool Parser::simple_key(std::string& out) {
  out.clear();
  if (at('"') || at('\'')) {
    if (at(s_[pos_], 1) && at(s_[pos_], 2)) return fail("a multi-line string as a key");
    return string(out);
  }
  const size_t start = pos_;
  while (pos_ < s_.size() && is_bare_key_char(s_[pos_])) ++pos_;
  if (pos_ == start) return fail("expected a key");
  out.assign(s_.substr(start, pos_ - start));
  return true;
}

bool Parser::header() {
  const bool of_tables = at('[', 1);
  pos_ += of_tables ? 2 : 1;
  if (!key()) return false;
  if (!at(']') || (of_tables && !at(']', 1))) return fail("expected the end of a table header");
  pos_ += of_tables ? 2 : 1;
  NodeId table = Document::kRoot;
  for (size_t i = 0; i + 1 < part_count_; ++i) {
    const NodeId m = find(table, parts_[i]);
    if (m == kNoNode) {
      table = add_member(table, parts_[i], Kind::Table, kImplicit);
    } else if (node(m).kind == Kind::Table && node(m).form != kInline) {
      table = m;
    } else if (node(m).kind == Kind::Array && node(m).form == kOfTables) {
      table = node(m).last;
    } else {
      return fail("a header reaching into a value that is complete");
    }
  }
  std::string& last = parts_[part_count_ - 1];
  NodeId m = find(table, last);
  if (of_tables) {
    if (m == kNoNode) {
      m = add_member(table, last, Kind::Array, kOfTables);
    } else if (node(m).kind != Kind::Array || node(m).form != kOfTables) {
      return fail("[[...]] naming something other than an array of tables");
    }
    current_ = add_element(m);
  } else if (m == kNoNode) {
    current_ = add_member(table, last, Kind::Table, kHeader);
  } else if (node(m).kind == Kind::Table && node(m).form == kImplicit) {
    node(m).form = kHeader;
    current_ = m;
  } else {
    return fail("a table defined twice");
  }
  return true;
}

// Reads `key =` in `table` (a header's table or an inline table) and makes
// the node its value fills.
bool Parser::member(NodeId table, NodeId& value) {
  if (!key()) return false;
  for (size_t i = 0; i + 1 < part_count_; ++i) {
    const NodeId m = find(table, parts_[i]);
    if (m == kNoNode) {
      table = add_member(table, parts_[i], Kind::Table, kDotted);
      continue;
    }
    Node& n = node(m);
    if (n.kind != Kind::Table || (n.form != kDotted && n.form != kImplicit)) {
      return fail("a dotted key adding to a value that is complete");
    }
    n.form = kDotted;
    table = m;
  }
  std::string& last = parts_[part_count_ - 1];
  if (find(table, last) != kNoNode) return fail("a key defined twice");
  if (!at('=')) return fail("expected '=' after a key");
  ++pos_;
  skip_whitespace();
  value = add_member(table, last, Kind::Table, kHeader);
  return true;
}

// Reads the value that fills `target`. Arrays and inline tables open frames
// on open_ instead of recursing, so any nesting is read in constant stack.
bool Parser::value(NodeId target) {
  open_.clear();
  for (;;) {
    if (at('[')) {
      ++pos_;
      node(target).kind = Kind::Array;
      node(target).form = kStatic;
      if (!skip_blank_lines()) return false;
      if (!at(']')) {
        open_.push_back({target, false});
        target = add_element(target);
        continue;
      }
      ++pos_;
    } else if (at('{')) {
      ++pos_;
      node(target).kind = Kind::Table;
      node(target).form = kInline;
      skip_whitespace();
      if (!at('}')) {
        open_.push_back({target, true});
        if (!member(target, target)) return false;
        continue;
      }
      ++pos_;
    } else if (!scalar(target)) {
      return false;
    }
    // A value is complete: close the frames it completes, up to the place
    // where the next value starts.
    for (;;) {
      if (open_.empty()) return true;
      const Frame frame = open_.back();
      if (frame.table) {
        skip_whitespace();
      } else if (!skip_blank_lines()) {
        return false;
      }
      if (at(frame.table ? '}' : ']')) {
        ++pos_;
        open_.pop_back();
        continue;
      }
      if (!at(',')) return fail(frame.table ? "expected ',' or '}'" : "expected ',' or ']'");
      ++pos_;
      if (frame.table) {
        if (!member(frame.node, target)) return false;
        break;
      }
      if (!skip_blank_lines()) return false;
      if (!at(']')) {
        target = add_element(frame.node);
        break;
      }
      ++pos_;
      open_.pop_back();
    }
  }
}

bool Parser::scalar(NodeId target) {
  const size_t start = pos_;
  Kind kind = Kind::String;
  int64_t integer = 0;
  const int c = peek();
  if (c == '"' || c == '\'') {
    doc_.strings_.emplace_back();
    if (!string(doc_.strings_.back())) return false;
    node(target).text = static_cast<uint32_t>(doc_.strings_.size() - 1);
  } else if (s_.substr(pos_, 4) == "true" || s_.substr(pos_, 5) == "false") {
    kind = Kind::Boolean;
    node(target).boolean = c == 't';
    pos_ += c == 't' ? 4 : 5;
  } else if (is_digit(c) || c == '+' || c == '-' || c == 'i' || c == 'n') {
    if (!number_or_date_time(kind, integer)) return false;
  } else {
    return fail("expected a value");
  }
  Node& n = node(target);
  n.kind = kind;
  n.integer = integer;
  n.begin = static_cast<uint32_t>(start);
  n.end = static_cast<uint32_t>(pos_);
  return true;
}

// Reads a string of any of the four kinds, from its opening quote.
bool Parser::string(std::string& out) {
  const char quote = s_[pos_];
  const bool basic = quote == '"';
  const bool multi_line = at(quote, 1) && at(quote, 2);
  pos_ += multi_line ? 3 : 1;
  // A newline right after the opening quotes is not part of the string.
  if (multi_line) newline();
  for (;;) {
    const int c = peek();
    if (c == -1) return fail("a string without its closing quote");
    if (c == quote) {
      if (!multi_line) {
        ++pos_;
        return true;
      }
      size_t run = 1;
      while (run < 6 && at(quote, run)) ++run;
      if (run >= 3) {
        // Up to two quotes before the closing three belong to the string.
        const size_t extra = std::min<size_t>(run, 5) - 3;
        out.append(extra, quote);
        pos_ += 3 + extra;
        return true;
      }
      out.append(run, quote);
      pos_ += run;
    } else if (c == '\\' && basic) {
      if (!escape(out, multi_line)) return false;
    } else if (c == '\n' || c == '\r') {
      if (!multi_line) return fail("a newline in a single-line string");
      if (!newline()) return fail("a carriage return without a line feed");
      out.push_back('\n');
    } else if (is_control(c)) {
      return fail("a control character in a string");
    } else {
      const size_t from = pos_;
      do {
        ++pos_;
      } while (pos_ < s_.size() && s_[pos_] != quote && !(basic && s_[pos_] == '\\') &&
               !is_control(static_cast<unsigned char>(s_[pos_])));
      out.append(s_.substr(from, pos_ - from));
    }
  }
}

bool Parser::escape(std::string& out, bool multi_line) {
  const int e = peek(1);
  if (multi_line && (e == ' ' || e == '\t' || e == '\n' || e == '\r')) {
    // A backslash ending a line drops the line end and the blanks after it.
    ++pos_;
    skip_whitespace();
    if (!newline()) return fail("a backslash with more than whitespace after it on its line");
    do skip_whitespace();
    while (newline());
    return true;
  }
  static constexpr std::pair<char, char> kSimple[] = {{'b', '\b'}, {'t', '\t'}, {'n', '\n'}, {'f', '\f'},
                                                      {'r', '\r'}, {'"', '"'},  {'\\', '\\'}};
  for (const auto& [name, replacement] : kSimple) {
    if (e == name) {
      out.push_back(replacement);
      pos_ += 2;
      return true;
    }
  }
  if (e != 'u' && e != 'U') return fail("an unknown escape");
  pos_ += 2;
  uint32_t code_point = 0;
  for (int i = 0; i < (e == 'u' ? 4 : 8); ++i, ++pos_) {
    const int digit = digit_value(s_, pos_, 16);
    if (digit < 0) return fail("an escape without its hex digits");
    code_point = code_point * 16 + static_cast<uint32_t>(digit);
  }
  if (!is_unicode_scalar(code_point)) {
    return fail("an escape of something other than a Unicode scalar value");
  }
  append_utf8(out, code_point);
  return true;
}

bool Parser::number_or_date_time(Kind& kind, int64_t& integer) {
  const auto digits_then = [&](size_t n, char c) {
    for (size_t i = 0; i < n; ++i) {
      if (!is_digit(peek(i))) return false;
    }
    return at(c, n);
  };
  if (digits_then(4, '-')) return date_time(kind);
  if (digits_then(2, ':')) {
    kind = Kind::LocalTime;
    return time();
  }
  const size_t start = pos_;
  while (pos_ < s_.size() && is_number_char(s_[pos_])) ++pos_;
  if (!read_number(s_.substr(start, pos_ - start), kind, integer)) {
    pos_ = start;
    return fail("not a number");
  }
  return true;
}

// The number `n` digits write, read past; -1 when they are not there.
int Parser::fixed_digits(size_t n) {
  int value = 0;
  for (size_t i = 0; i < n; ++i, ++pos_) {
    if (!is_digit(peek())) return -1;
    value = value * 10 + (peek() - '0');
  }
  return value;
}

bool Parser::date_time(Kind& kind) {
  const int year = fixed_digits(4);
  ++pos_;
  const int month = fixed_digits(2);
  if (!at('-')) return fail("not a date");
  ++pos_;
  const int day = fixed_digits(2);
  if (month < 1 || month > 12 || day < 1 || day > days_in_month(year, month)) return fail("not a date");
  kind = Kind::LocalDate;
  if (!at('T') && !at('t') && !(at(' ') && is_digit(peek(1)))) return true;
  ++pos_;
  if (!time()) return false;
  kind = Kind::LocalDateTime;
  if (at('Z') || at('z')) {
    ++pos_;
    kind = Kind::OffsetDateTime;
  } else if (at('+') || at('-')) {
    ++pos_;
    if (!hour_and_minute()) return fail("not a time offset");
    kind = Kind::OffsetDateTime;
  }
  return true;
}

// "HH:MM", as a time of day and a time offset both begin.
bool Parser::hour_and_minute() {
  const int hour = fixed_digits(2);
  if (hour < 0 || hour > 23 || !at(':')) return false;
  ++pos_;
  const int minute = fixed_digits(2);
  return minute >= 0 && minute <= 59;
}

// A time of day; its seconds run to 60, for a leap second.
bool Parser::time() {
  if (!hour_and_minute() || !at(':')) return fail("not a time");
  ++pos_;
  const int second = fixed_digits(2);
  if (second < 0 || second > 60) return fail("not a time");
  if (at('.')) {
    ++pos_;
    if (!is_digit(peek())) return fail("a fraction of a second without digits");
    while (is_digit(peek())) ++pos_;
  }
  return true;
}

Result<Document> parse(std::string_view text, const std::string& path, uint64_t* work) {
  Document doc;
  Parser parser(text, doc, work);
  if (parser.document()) return doc;
  uint64_t line = 1, column = 1;
  for (size_t i = 0; i < parser.error_at() && i < text.size(); ++i) {
    if (text[i] == '\n') {
      ++line;
      column = 1;
    } else {
      ++column;
    }
  }
  return Error::config_parse(
      path, "line " + std::to_string(line) + ", column " + std::to_string(column) + ": " + parser.reason());
}

}  // namespace tarn::toml
