#include "error/error.h"

namespace tarn {

namespace {
Error make(ErrorKind kind, std::string path = {}, std::string text = {}) {
  Error e;
  e.kind = kind;
  e.path = std::move(path);
  e.text = std::move(text);
  return e;
}
Error with_numbers(ErrorKind kind, std::string path, uint64_t first, uint64_t second) {
  Error e = make(kind, std::move(path));
  e.first = first;
  e.second = second;
  return e;
}
}  // namespace

Error Error::read_file(std::string path) { return make(ErrorKind::ReadFile, std::move(path)); }
Error Error::walk_dir(std::string path) { return make(ErrorKind::WalkDir, std::move(path)); }
Error Error::file_too_large(std::string path, uint64_t size, uint64_t max) {
  return with_numbers(ErrorKind::FileTooLarge, std::move(path), size, max);
}
Error Error::parse_failed(std::string path, std::string message) {
  return make(ErrorKind::ParseFailed, std::move(path), std::move(message));
}
Error Error::syntax_error(std::string path, uint64_t line, uint64_t column) {
  return with_numbers(ErrorKind::SyntaxError, std::move(path), line, column);
}
Error Error::config_parse(std::string path, std::string source) {
  return make(ErrorKind::ConfigParse, std::move(path), std::move(source));
}
Error Error::git(std::string message) { return make(ErrorKind::Git, {}, std::move(message)); }
Error Error::invalid_git_ref(std::string reference) { return make(ErrorKind::InvalidGitRef, {}, std::move(reference)); }
Error Error::cli_usage(std::string message) { return make(ErrorKind::CliUsage, {}, std::move(message)); }
Error Error::unknown_rule(std::string rule, std::vector<std::string> available) {
  Error e = make(ErrorKind::UnknownRule, {}, std::move(rule));
  e.available = std::move(available);
  return e;
}
Error Error::invalid_path(std::string path) { return make(ErrorKind::InvalidPath, std::move(path)); }
Error Error::invalid_glob(std::string pattern, std::string message) {
  Error e = make(ErrorKind::InvalidGlob, {}, std::move(pattern));
  e.detail = std::move(message);
  return e;
}

std::string Error::message() const {
  switch (kind) {
    case ErrorKind::ReadFile:
      return "Failed to read file: " + path;
    case ErrorKind::WalkDir:
      return "Failed to walk directory: " + path;
    case ErrorKind::FileTooLarge:
      return "File too large: " + path + " (" + std::to_string(first) + " bytes, max " +
             std::to_string(second) + " bytes)";
    case ErrorKind::ParseFailed:
      return "Failed to parse Python file: " + path + ": " + text;
    case ErrorKind::SyntaxError:
      return "Parse error in " + path + " at line " + std::to_string(first) + ", column " +
             std::to_string(second);
    case ErrorKind::ConfigParse:
      return "Failed to parse configuration: " + path;
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
      return "Invalid path: " + path;
    case ErrorKind::InvalidGlob:
      return "Invalid glob pattern '" + text + "': " + detail;
  }
  return {};
}

}  // namespace tarn
