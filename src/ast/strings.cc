#include "ast/strings.h"

#include "parser/node.h"
#include "util/utf8.h"

namespace tarn {

namespace {

bool is_octal(char c) { return c >= '0' && c <= '7'; }

char simple_escape(char c) {
  switch (c) {
    case '\\': return '\\';
    case '\'': return '\'';
    case '"': return '"';
    case 'a': return '\a';
    case 'b': return '\b';
    case 'f': return '\f';
    case 'n': return '\n';
    case 'r': return '\r';
    case 't': return '\t';
    case 'v': return '\v';
    default: return 0;
  }
}

// Appends the value of one escape sequence (see decode_escape).
void append_escape(std::string_view escape, std::string& out) {
  std::string_view rest = escape;
  if (!rest.empty() && rest.front() == '\\') rest.remove_prefix(1);
  if (rest.size() == 1) {
    if (const char c = simple_escape(rest[0])) {
      out += c;
      return;
    }
  }
  if (!rest.empty()) {
    const char lead = rest.front();
    const size_t digits = lead == 'U' ? 8 : lead == 'u' ? 4 : lead == 'x' ? 2 : 0;
    if (digits != 0) {
      if (rest.size() == digits + 1) {
        char32_t value = 0;
        bool hex = true;
        for (size_t k = 1; k <= digits && hex; ++k) {
          const int d = hex_digit_value(rest[k]);
          hex = d >= 0;
          value = value * 16 + static_cast<char32_t>(d);
        }
        if (hex && is_unicode_scalar(value)) {
          append_utf8(out, value);
          return;
        }
      }
    } else if (is_octal(lead)) {
      char32_t value = 0;
      for (size_t k = 0; k < 3 && k < rest.size() && is_octal(rest[k]); ++k) value = value * 8 + (rest[k] - '0');
      append_utf8(out, value);
      return;
    }
  }
  out.append(escape);
}

// Escape processing of the text between quotes of a non-raw literal.
void append_unescaped(std::string_view text, std::string& out) {
  size_t i = 0;
  while (i < text.size()) {
    const size_t slash = text.find('\\', i);
    if (slash == std::string_view::npos) {
      out.append(text.substr(i));
      return;
    }
    out.append(text.substr(i, slash - i));
    if (slash + 1 == text.size()) {
      out += '\\';
      return;
    }
    // Lengths count characters, not bytes: "\xé..." must not split "é".
    size_t end = slash + 1;
    const char c = text[end];
    decode_utf8(text, end);
    const size_t more = c == 'U' ? 8 : c == 'u' ? 4 : c == 'x' ? 2 : 0;
    for (size_t k = 0; k < more && end < text.size(); ++k) decode_utf8(text, end);
    if (is_octal(c)) {
      for (size_t k = 0; k < 2 && end < text.size() && is_octal(text[end]); ++k) ++end;
    }
    append_escape(text.substr(slash, end - slash), out);
    i = end;
  }
}

// Whether a literal's prefix (the letters before its quote) makes it raw.
bool has_raw_prefix(std::string_view string_start) {
  for (const char c : string_start) {
    const bool letter = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
    if (!letter) break;
    if (c == 'r' || c == 'R') return true;
  }
  return false;
}

// Appends the value of one "string" node; a replacement field makes the
// literal's whole value empty. The node's first child is its start, prefix
// included, so one pass reads the prefix before any content.
void append_literal(std::string_view source, TSNode string, std::string& out) {
  bool raw = false;
  const size_t mark = out.size();
  for_each_child(string, [&](TSNode child) {
    const std::string_view type = node_type(child);
    if (type == "string_start") {
      raw = has_raw_prefix(node_text(source, child));
    } else if (type == "interpolation") {
      out.resize(mark);
      return false;
    } else if (type == "escape_sequence") {
      if (raw) {
        out.append(node_text(source, child));
      } else {
        append_escape(node_text(source, child), out);
      }
    } else if (type == "string_content") {
      if (raw) {
        out.append(node_text(source, child));
      } else {
        append_unescaped(node_text(source, child), out);
      }
    }
    return true;
  });
}

}  // namespace

std::optional<TSNode> string_node_kind(std::optional<TSNode> node) {
  if (node && (node_is(*node, "string") || node_is(*node, "concatenated_string"))) return node;
  return std::nullopt;
}

std::string python_string_value(std::string_view source, TSNode node) {
  const std::string_view type = node_type(node);
  std::string out;
  if (type == "string") {
    append_literal(source, node, out);
  } else if (type == "concatenated_string") {
    for_each_child(node, [&](TSNode child) {
      if (node_is(child, "string")) append_literal(source, child, out);
      return true;
    });
  } else {
    out = node_text(source, node);
  }
  return out;
}

std::string decode_escape(std::string_view escape) {
  std::string out;
  append_escape(escape, out);
  return out;
}

Span node_span(TSNode node) {
  const TSPoint start = ts_node_start_point(node), end = ts_node_end_point(node);
  Span span;
  span.start_byte = ts_node_start_byte(node);
  span.end_byte = ts_node_end_byte(node);
  span.start_line = uint64_t{start.row} + 1;
  span.start_column = start.column;
  span.end_line = uint64_t{end.row} + 1;
  span.end_column = end.column;
  return span;
}

bool is_false_literal(TSNode node) { return node_is(unparenthesized(node), "false"); }

}  // namespace tarn
