#!/usr/bin/env bash
# Sets up a fresh machine if needed, builds tarn and runs every test.
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/setup-deps.sh
BUILD_DIR="${BUILD_DIR:-build}"
cmake -S . -B "$BUILD_DIR" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTARN_WERROR=ON "$@" >/dev/null
cmake --build "$BUILD_DIR"
ctest --test-dir "$BUILD_DIR" --output-on-failure -j"$(nproc)"
