// libFuzzer target: any text read as pyproject.toml and as stillwater.toml,
// whose patterns are then compiled as loading a directory does. Inputs are
// plain configuration files, so the seeds double as readable examples.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "config/config.h"
#include "util/glob.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  tarn::Config config;
  if (auto doc = tarn::parse_pyproject_toml(text, "pyproject.toml"); doc.ok() && doc->tool && doc->tool->tarn) {
    tarn::merge_file_config(config, *doc->tool->tarn);
  }
  if (auto file = tarn::parse_file_config(text, "stillwater.toml"); file.ok()) tarn::merge_file_config(config, *file);
  auto exclude = tarn::compile_glob_patterns(config.exclude);
  auto allowed = tarn::compile_glob_patterns(config.allowed_file_patterns);
  (void)exclude;
  (void)allowed;
  return 0;
}
