// The benchmark's baseline: read every .py file under the given directories
// and parse it once with the same grammar, doing nothing else.
#include <tree_sitter/api.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

extern "C" const TSLanguage* tree_sitter_python(void);

int main(int argc, char** argv) {
  namespace fs = std::filesystem;
  const auto start = std::chrono::steady_clock::now();
  size_t files = 0, bytes = 0, nodes = 0;
  TSParser* parser = ts_parser_new();
  ts_parser_set_language(parser, tree_sitter_python());
  for (int i = 1; i < argc; ++i) {
    for (const auto& entry : fs::recursive_directory_iterator(argv[i])) {
      if (!entry.is_regular_file() || entry.path().extension() != ".py") continue;
      std::ifstream in(entry.path(), std::ios::binary);
      std::stringstream buffer;
      buffer << in.rdbuf();
      const std::string text = buffer.str();
      TSTree* tree = ts_parser_parse_string(parser, nullptr, text.data(), static_cast<uint32_t>(text.size()));
      nodes += ts_node_child_count(ts_tree_root_node(tree));
      ts_tree_delete(tree);
      ++files;
      bytes += text.size();
    }
  }
  ts_parser_delete(parser);
  const double secs = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  std::printf("bare parse: %zu files, %.1f MiB, %.3f s (%zu top-level nodes)\n", files, bytes / 1048576.0, secs,
              nodes);
  return 0;
}
