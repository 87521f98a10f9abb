#include "config/config.h"

#include <sys/stat.h>

#include <algorithm>
#include <exception>

#include "util/glob.h"
#include "files/read.h"
#include "util/path.h"
#include "util/utf8.h"

// Header-only and without exceptions: parse failures come back as values, and
// only this file sees the library.
#define TOML_HEADER_ONLY 1
#define TOML_EXCEPTIONS 0
#define TOML_ENABLE_FORMATTERS 0
// The library states some preconditions of its parse steps as assumptions,
// and hostile text breaks several of them (a table header "[~a]", an array
// "[}]"); a broken assumption is an abort in a debug build and undefined
// behaviour in an optimised one. Each of those steps reports the error on its
// own when let through, so the assumptions are made no-ops.
#include <toml++/impl/preprocessor.h>
#undef TOML_ASSERT_ASSUME
#define TOML_ASSERT_ASSUME(expr) static_assert(true)
#include <toml++/toml.h>

namespace tarn {

namespace {

constexpr size_t kFileConfigFields = 5;

// The TOML library builds one table per dotted-key segment and recurses once
// per level when it finishes and frees a document, so a file of "a.a.a..."
// keys could exhaust the stack. Documents nested deeper than this are refused
// before the library sees them.
constexpr size_t kMaxTableDepth = 512;

// A key of 80 or more dotted parts, and arrays or inline tables nested 80 or
// more deep, are refused as well. No configuration needs them, and a fixed
// bound makes such a file an error everywhere instead of something that
// depends on how deep a reader can go.
constexpr size_t kMaxKeyParts = 80;
constexpr size_t kMaxValueNesting = 80;

// The library's whitespace test is a generated table with no answer for
// these code points: it reaches an unreachable branch (undefined behaviour,
// an abort in a debug build), and it asks about characters in invalid
// documents and after a line-ending backslash in valid ones. It only needs to
// know they are not whitespace, so the library sees each of them replaced by
// a stand-in it treats the same way (a private-use code point above
// kStandInBase), and the strings read back get the originals again.
struct CodePointRange {
  char32_t first;
  char32_t last;
};
constexpr CodePointRange kUnanswered[] = {{0xA1, 0x499}, {0x2C5E, 0x2FFF}, {0x3001, 0x3057}, {0xFB26, 0xFEFE}};
constexpr char32_t kStandInBase = 0xF0000;

std::optional<char32_t> stand_in_for(char32_t c) {
  char32_t offset = 0;
  for (const auto& range : kUnanswered) {
    if (c >= range.first && c <= range.last) return kStandInBase + offset + (c - range.first);
    offset += range.last - range.first + 1;
  }
  return std::nullopt;
}

std::optional<char32_t> original_of(char32_t c) {
  if (c < kStandInBase) return std::nullopt;
  char32_t offset = c - kStandInBase;
  for (const auto& range : kUnanswered) {
    if (offset <= range.last - range.first) return range.first + offset;
    offset -= range.last - range.first + 1;
  }
  return std::nullopt;
}

// Whether valid UTF-8 `text` holds a code point `map` gives a value for.
template <typename Map>
bool holds_any(std::string_view text, Map map) {
  for (size_t pos = 0; pos < text.size();) {
    if (static_cast<unsigned char>(text[pos]) < 0x80) {
      ++pos;
    } else if (map(decode_utf8(text, pos))) {
      return true;
    }
  }
  return false;
}

// Valid UTF-8 `text` with every code point `map` gives a value for replaced by it.
template <typename Map>
std::string replace_code_points(std::string_view text, Map map) {
  std::string out;
  out.reserve(text.size());
  for (size_t pos = 0; pos < text.size();) {
    const size_t start = pos;
    const char32_t c = decode_utf8(text, pos);
    if (const auto replacement = map(c)) {
      append_utf8(out, *replacement);
    } else {
      out.append(text.substr(start, pos - start));
    }
  }
  return out;
}

// Skips the string starting at `i` as TOML lexes it; returns the index after it.
size_t skip_string(std::string_view text, size_t i) {
  const char quote = text[i];
  const bool escapes = quote == '"';
  const std::string_view triple = escapes ? std::string_view("\"\"\"") : std::string_view("'''");
  if (text.substr(i, 3) == triple) {
    size_t j = i + 3;
    while (j < text.size()) {
      if (escapes && text[j] == '\\') {
        j += 2;
      } else if (text.substr(j, 3) == triple) {
        j += 3;
        for (int extra = 0; extra < 2 && j < text.size() && text[j] == quote; ++extra) ++j;
        return j;
      } else {
        ++j;
      }
    }
    return text.size();
  }
  size_t j = i + 1;
  while (j < text.size() && text[j] != '\n') {
    if (escapes && text[j] == '\\') {
      j += 2;
    } else if (text[j++] == quote) {
      return j;
    }
  }
  return std::min(j, text.size());
}

// Over-approximates the table nesting the document would build: headers and
// keys count their dotted segments, every open array or inline table one more
// level. Strings and comments are skipped, so dots in them do not count. Also
// true for a key of kMaxKeyParts parts or values nested kMaxValueNesting deep.
bool nesting_exceeds(std::string_view text, size_t limit) {
  std::vector<size_t> open;  // depth inside each open "[" or "{" of a value
  size_t header = 0;         // depth of the tables the current header makes
  size_t segments = 1;       // segments of the key being read
  size_t value_depth = 0;    // depth at which the next value sits
  bool statement_start = true;
  bool in_header = false;
  const auto container = [&] { return open.empty() ? header : open.back(); };
  size_t i = 0;
  while (i < text.size()) {
    const char c = text[i];
    if (c == '"' || c == '\'') {
      i = skip_string(text, i);
      statement_start = false;
      continue;
    }
    ++i;
    switch (c) {
      case '#':
        while (i < text.size() && text[i] != '\n') ++i;
        break;
      case '.':
        if (++segments + (in_header ? 0 : container()) > limit) return true;
        break;
      case '=':
        if (segments >= kMaxKeyParts) return true;
        value_depth = container() + segments;
        segments = 1;
        break;
      case '[':
        if (open.empty() && (statement_start || in_header)) {
          in_header = true;  // "[[" of an array of tables opens one header
          segments = 1;
          break;
        }
        [[fallthrough]];
      case '{':
        open.push_back(value_depth + 1);
        value_depth = open.back();
        if (value_depth > limit || open.size() >= kMaxValueNesting) return true;
        segments = 1;
        break;
      case ']':
      case '}':
        if (in_header) {
          if (segments >= kMaxKeyParts) return true;
          header = segments + 1;  // + 1 for an array of tables
          in_header = false;
        } else if (!open.empty()) {
          open.pop_back();
        }
        value_depth = container();
        segments = 1;
        break;
      case ',':
        value_depth = container();
        segments = 1;
        break;
      case '\n':
        segments = 1;
        if (open.empty()) value_depth = header;
        break;
      default:
        break;
    }
    statement_start = (c == '\n' || ((c == ' ' || c == '\t' || c == '\r') && statement_start)) && open.empty();
  }
  return false;
}

// Reads the three shapes out of a parsed document. A shape given as an array
// is read by position; any type mismatch fails the whole file.
class ShapeReader {
 public:
  bool stand_ins = false;  // the document was parsed with stand-ins for some code points

  std::optional<FileConfig> file_config(const toml::node& node) {
    FileConfig out;
    if (const toml::table* t = node.as_table()) {
      if (!strings(t->get("select"), out.select) || !strings(t->get("ignore"), out.ignore) ||
          !boolean(t->get("warnings-as-errors"), out.warnings_as_errors) ||
          !strings(t->get("exclude"), out.exclude) ||
          !strings(t->get("allowed-file-patterns"), out.allowed_file_patterns)) {
        return std::nullopt;
      }
      return out;
    }
    const toml::array* a = positional(node, kFileConfigFields);
    if (a == nullptr) return std::nullopt;
    if (!strings(a->get(0), out.select) || !strings(a->get(1), out.ignore) ||
        !boolean(a->get(2), out.warnings_as_errors) || !strings(a->get(3), out.exclude) ||
        !strings(a->get(4), out.allowed_file_patterns)) {
      return std::nullopt;
    }
    return out;
  }

  std::optional<Tool> tool(const toml::node& node) {
    Tool out;
    const toml::node* tarn = nullptr;
    if (const toml::table* t = node.as_table()) {
      tarn = t->get("tarn");
    } else if (const toml::array* a = positional(node, 1)) {
      tarn = a->get(0);
    } else {
      return std::nullopt;
    }
    if (tarn != nullptr) {
      out.tarn = file_config(*tarn);
      if (!out.tarn) return std::nullopt;
    }
    return out;
  }

 private:
  // An array of at least `fields` elements, else nothing.
  static const toml::array* positional(const toml::node& node, size_t fields) {
    const toml::array* a = node.as_array();
    return a != nullptr && a->size() >= fields ? a : nullptr;
  }

  // An absent key leaves `out` absent; anything but an array of strings fails.
  bool strings(const toml::node* node, std::optional<std::vector<std::string>>& out) const {
    if (node == nullptr) return true;
    const toml::array* a = node->as_array();
    if (a == nullptr) return false;
    std::vector<std::string> values;
    values.reserve(a->size());
    for (const toml::node& element : *a) {
      const auto* s = element.as_string();
      if (s == nullptr) return false;
      values.push_back(stand_ins ? replace_code_points(s->get(), original_of) : s->get());
    }
    out = std::move(values);
    return true;
  }

  static bool boolean(const toml::node* node, std::optional<bool>& out) {
    if (node == nullptr) return true;
    const auto* b = node->as_boolean();
    if (b == nullptr) return false;
    out = b->get();
    return true;
  }
};

// Parses `text` and hands the document to `read`; every failure, the
// library's included, becomes ConfigParse naming `path`.
template <typename T, typename ReadFn>
Result<T> parse_document(std::string_view text, const std::string& path, ReadFn&& read) {
  if (nesting_exceeds(text, kMaxTableDepth) || !is_valid_utf8(text)) return Error::config_parse(path);
  ShapeReader reader;
  std::string replaced;
  if (holds_any(text, stand_in_for)) {
    // A stand-in already in the text could not be told from one put there.
    if (holds_any(text, original_of)) return Error::config_parse(path);
    replaced = replace_code_points(text, stand_in_for);
    text = replaced;
    reader.stand_ins = true;
  }
  try {
    toml::parse_result parsed = toml::parse(text, std::string_view(path));
    if (!parsed) return Error::config_parse(path);
    std::optional<T> value = read(reader, parsed.table());
    if (!value) return Error::config_parse(path);
    return std::move(*value);
  } catch (const std::exception&) {
    return Error::config_parse(path);
  }
}

// Absent for the loader: the status query (following links) fails.
bool exists(const std::string& path) {
  struct stat st {};
  return ::stat(path.c_str(), &st) == 0;
}

}  // namespace

Result<PyProjectToml> parse_pyproject_toml(std::string_view text, const std::string& path) {
  return parse_document<PyProjectToml>(text, path, [](ShapeReader& reader, const toml::table& doc) {
    PyProjectToml out;
    if (const toml::node* tool = doc.get("tool")) {
      out.tool = reader.tool(*tool);
      if (!out.tool) return std::optional<PyProjectToml>();
    }
    return std::optional<PyProjectToml>(std::move(out));
  });
}

Result<FileConfig> parse_file_config(std::string_view text, const std::string& path) {
  return parse_document<FileConfig>(text, path,
                                    [](ShapeReader& reader, const toml::table& doc) { return reader.file_config(doc); });
}

namespace {

// One configuration file's text, at most 1 MiB, through the safe reader.
Result<std::string> read_config_text(const std::string& path) { return read_regular_file(path, kMaxConfigBytes); }

}  // namespace

void merge_file_config(Config& config, const FileConfig& file) {
  if (file.select) config.select = std::set<std::string>(file.select->begin(), file.select->end());
  if (file.ignore) config.ignore = std::set<std::string>(file.ignore->begin(), file.ignore->end());
  if (file.warnings_as_errors) config.warnings_as_errors = *file.warnings_as_errors;
  if (file.exclude) config.exclude = *file.exclude;
  if (file.allowed_file_patterns) config.allowed_file_patterns = *file.allowed_file_patterns;
}

Result<std::optional<Config>> load_config(const std::string& dir) {
  Config config;
  bool found = false;

  const std::string pyproject = path_join(dir, "pyproject.toml");
  if (exists(pyproject)) {
    TRY_ASSIGN(const std::string text, read_config_text(pyproject));
    // Parsed in full even when it holds no [tool.tarn]: a broken file is reported.
    TRY_ASSIGN(const PyProjectToml doc, parse_pyproject_toml(text, pyproject));
    if (doc.tool && doc.tool->tarn) {
      merge_file_config(config, *doc.tool->tarn);
      found = true;
    }
  }

  const std::string stillwater = path_join(dir, "stillwater.toml");
  if (exists(stillwater)) {
    TRY_ASSIGN(const std::string text, read_config_text(stillwater));
    TRY_ASSIGN(const FileConfig file, parse_file_config(text, stillwater));
    merge_file_config(config, file);
    found = true;
  }

  if (!found) return std::optional<Config>();
  // Only the merged values are validated, exclude first; the compiled
  // patterns are not kept.
  TRY(compile_glob_patterns(config.exclude));
  TRY(compile_glob_patterns(config.allowed_file_patterns));
  return std::optional<Config>(std::move(config));
}

}  // namespace tarn
