#include "main/main.h"

int main(int argc, char** argv) { return tarn::tarn_main(argc, argv); }
