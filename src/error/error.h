// The one error type of the program; message() is what a user is shown.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace tarn {

enum class ErrorKind : uint8_t {
  ReadFile,
  WalkDir,
  FileTooLarge,
  ParseFailed,
  SyntaxError,
  ConfigParse,
  Git,
  InvalidGitRef,
  CliUsage,
  UnknownRule,
  InvalidPath,
  InvalidGlob,
};

struct Error {
  ErrorKind kind = ErrorKind::Git;
  // Path bytes, kept unchanged (ReadFile, WalkDir, FileTooLarge, ParseFailed,
  // SyntaxError, ConfigParse, InvalidPath).
  std::string path;
  // ParseFailed/Git/CliUsage message, InvalidGitRef reference, UnknownRule id,
  // InvalidGlob pattern, ConfigParse source (the TOML reader's error, never
  // shown).
  std::string text;
  // InvalidGlob message.
  std::string detail;
  // FileTooLarge size/max, SyntaxError line/column.
  uint64_t first = 0;
  uint64_t second = 0;
  // UnknownRule: every registered id.
  std::vector<std::string> available;

  static Error read_file(std::string path);
  static Error walk_dir(std::string path);
  static Error file_too_large(std::string path, uint64_t size, uint64_t max);
  static Error parse_failed(std::string path, std::string message);
  static Error syntax_error(std::string path, uint64_t line, uint64_t column);
  static Error config_parse(std::string path, std::string source = {});
  static Error git(std::string message);
  static Error invalid_git_ref(std::string reference);
  static Error cli_usage(std::string message);
  static Error unknown_rule(std::string rule, std::vector<std::string> available);
  static Error invalid_path(std::string path);
  static Error invalid_glob(std::string pattern, std::string message);

  // The user-facing text: no prefix, no trailing newline. Paths stay the
  // bytes they were given: the terminal sanitiser every error passes on its
  // way out shows bytes that are not UTF-8 as U+FFFD.
  std::string message() const;
};

}  // namespace tarn
