#include "config/config.h"

#include <sys/stat.h>

#include <array>

#include "config/toml.h"
#include "files/read.h"
#include "util/glob.h"
#include "util/path.h"

namespace tarn {

namespace {

using toml::Kind;
using toml::NodeId;

constexpr size_t kFileConfigFields = 5;

// Reads the three shapes out of a parsed document. A shape given as an array
// is read by position; any type mismatch fails the whole file.
class ShapeReader {
 public:
  explicit ShapeReader(const toml::Document& doc) : doc_(doc) {}

  std::optional<FileConfig> file_config(NodeId node) const {
    std::array<NodeId, kFileConfigFields> fields{};
    if (doc_.kind(node) == Kind::Table) {
      fields = {doc_.find(node, "select"), doc_.find(node, "ignore"), doc_.find(node, "warnings-as-errors"),
                doc_.find(node, "exclude"), doc_.find(node, "allowed-file-patterns")};
    } else if (!positional(node, fields)) {
      return std::nullopt;
    }
    FileConfig out;
    if (!strings(fields[0], out.select) || !strings(fields[1], out.ignore) ||
        !boolean(fields[2], out.warnings_as_errors) || !strings(fields[3], out.exclude) ||
        !strings(fields[4], out.allowed_file_patterns)) {
      return std::nullopt;
    }
    return out;
  }

  std::optional<Tool> tool(NodeId node) const {
    std::array<NodeId, 1> tarn{};
    if (doc_.kind(node) == Kind::Table) {
      tarn[0] = doc_.find(node, "tarn");
    } else if (!positional(node, tarn)) {
      return std::nullopt;
    }
    Tool out;
    if (tarn[0] != toml::kNoNode) {
      out.tarn = file_config(tarn[0]);
      if (!out.tarn) return std::nullopt;
    }
    return out;
  }

 private:
  // The first elements of an array that has at least as many as `fields`
  // holds; false for anything else.
  template <size_t N>
  bool positional(NodeId node, std::array<NodeId, N>& fields) const {
    if (doc_.kind(node) != Kind::Array || doc_.size(node) < N) return false;
    NodeId element = doc_.first(node);
    for (NodeId& field : fields) {
      field = element;
      element = doc_.next(element);
    }
    return true;
  }

  // An absent key leaves `out` absent; anything but an array of strings fails.
  bool strings(NodeId node, std::optional<std::vector<std::string>>& out) const {
    if (node == toml::kNoNode) return true;
    if (doc_.kind(node) != Kind::Array) return false;
    std::vector<std::string> values;
    values.reserve(doc_.size(node));
    for (NodeId element = doc_.first(node); element != toml::kNoNode; element = doc_.next(element)) {
      if (doc_.kind(element) != Kind::String) return false;
      values.emplace_back(doc_.string(element));
    }
    out = std::move(values);
    return true;
  }

  bool boolean(NodeId node, std::optional<bool>& out) const {
    if (node == toml::kNoNode) return true;
    if (doc_.kind(node) != Kind::Boolean) return false;
    out = doc_.boolean(node);
    return true;
  }

  const toml::Document& doc_;
};

// Parses `text` and hands the document to `read`; every failure becomes
// ConfigParse naming `path`.
template <typename T, typename ReadFn>
Result<T> parse_document(std::string_view text, const std::string& path, ReadFn&& read) {
  TRY_ASSIGN(const toml::Document doc, toml::parse(text, path));
  std::optional<T> value = read(ShapeReader(doc), doc);
  if (!value) return Error::config_parse(path, "a value of the wrong type");
  return std::move(*value);
}

// Absent for the loader: the status query (following links) fails.
bool exists(const std::string& path) {
  struct stat st {};
  return ::stat(path.c_str(), &st) == 0;
}

}  // namespace

Result<PyProjectToml> parse_pyproject_toml(std::string_view text, const std::string& path) {
  return parse_document<PyProjectToml>(text, path, [](const ShapeReader& reader, const toml::Document& doc) {
    PyProjectToml out;
    if (const NodeId tool = doc.find(toml::Document::kRoot, "tool"); tool != toml::kNoNode) {
      out.tool = reader.tool(tool);
      if (!out.tool) return std::optional<PyProjectToml>();
    }
    return std::optional<PyProjectToml>(std::move(out));
  });
}

Result<FileConfig> parse_file_config(std::string_view text, const std::string& path) {
  return parse_document<FileConfig>(text, path, [](const ShapeReader& reader, const toml::Document&) {
    return reader.file_config(toml::Document::kRoot);
  });
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
