#include <cstdio>

int main() {
  std::puts("tarn 0.7.0");
  return 0;
}
