// libFuzzer target: any text, analysed under each framework's layout. Inputs
// are plain migration files, so the seeds double as readable examples.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "ast/analyze.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view source(reinterpret_cast<const char*>(data), size);
  for (const char* path : {"app/migrations/0001_x.py", "alembic/versions/abc_x.py", "migrations/models/1_x.py"}) {
    auto result = tarn::parse_migration(path, std::string(source), tarn::SyntaxErrorReport::AtFirstError);
    (void)result;
  }
  return 0;
}
