#include "error/error.h"

#include "util/utf8.h"

namespace tarn {

namespace {
Error make(ErrorKind kind) {
  Error e;
  e.kind = kind;
  return e;
}
}  // namespace

Error Error::read_file(std::string path, std::string source) {
  Error e = make(ErrorKind::ReadFile);
  e.path = std::move(path);
  e.source = std::move(source);
  return e;
}
Error Error::walk_dir(std::string path, std::string source) {
  Error e = make(ErrorKind::WalkDir);
  e.path = std::move(path);
  e.source = std::move(source);
  return e;
}
Error Error::file_too_large(std::string path, uint64_t size, uint64_t max) {
  Error e = make(ErrorKind::FileTooLarge);
  e.path = std::move(path);
  e.first = size;
  e.second = max;
  return e;
}
Error Error::parse_failed(std::string path, std::string message) {
  Error e = make(ErrorKind::ParseFailed);
  e.path = std::move(path);
  e.text = std::move(message);
  return e;
}
Error Error::syntax_error(std::string path, uint64_t line, uint64_t column) {
  Error e = make(ErrorKind::SyntaxError);
  e.path = std::move(path);
  e.first = line;
  e.second = column;
  return e;
}
Error Error::config_parse(std::string path, std::string source) {
  Error e = make(ErrorKind::ConfigParse);
  e.path = std::move(path);
  e.source = std::move(source);
  return e;
}
Error Error::git(std::string message) {
  Error e = make(ErrorKind::Git);
  e.text = std::move(message);
  return e;
}
Error Error::invalid_git_ref(std::string reference) {
  Error e = make(ErrorKind::InvalidGitRef);
  e.text = std::move(reference);
  return e;
}
Error Error::cli_usage(std::string message) {
  Error e = make(ErrorKind::CliUsage);
  e.text = std::move(message);
  return e;
}
Error Error::unknown_rule(std::string rule, std::vector<std::string> available) {
  Error e = make(ErrorKind::UnknownRule);
  e.text = std::move(rule);
  e.available = std::move(available);
  return e;
}
Error Error::invalid_path(std::string path) {
  Error e = make(ErrorKind::InvalidPath);
  e.path = std::move(path);
  return e;
}
Error Error::invalid_glob(std::string pattern, std::string message) {
  Error e = make(ErrorKind::InvalidGlob);
  e.text = std::move(pattern);
  e.detail = std::move(message);
  return e;
}

std::string Error::message() const {
  const std::string shown_path = utf8_lossy(path);
  switch (kind) {
    case ErrorKind::ReadFile:
      return "Failed to read file: " + shown_path;
    case ErrorKind::WalkDir:
      return "Failed to walk directory: " + shown_path;
    case ErrorKind::FileTooLarge:
      return "File too large: " + shown_path + " (" + std::to_string(first) + " bytes, max " +
             std::to_string(second) + " bytes)";
    case ErrorKind::ParseFailed:
      return "Failed to parse Python file: " + shown_path + ": " + text;
    case ErrorKind::SyntaxError:
      return "Parse error in " + shown_path + " at line " + std::to_string(first) + ", column " +
             std::to_string(second);
    case ErrorKind::ConfigParse:
      return "Failed to parse configuration: " + shown_path;
    case ErrorKind::Git:
      return "Git error: " + text;
    case ErrorKind::InvalidGitRef:
      return "Invalid git reference: " + text +
             ". Specify a valid branch, tag, or commit SHA; for origin/* refs, fetch the remote "
             "first (shallow checkouts may omit them)";
    case ErrorKind::CliUsage:
      return "CLI usage error: " + text;
    case ErrorKind::UnknownRule: {
      std::string joined;
      for (size_t i = 0; i < available.size(); ++i) {
        if (i) joined += ", ";
        joined += available[i];
      }
      return "Unknown rule: " + text + " (available rules: " + joined + ")";
    }
    case ErrorKind::InvalidPath:
      return "Invalid path: " + shown_path;
    case ErrorKind::InvalidGlob:
      return "Invalid glob pattern '" + text + "': " + detail;
  }
  return {};
}

}  // namespace tarn
