#!/usr/bin/env bash
# Sets up a fresh machine if needed, builds tarn and lints the given paths
# (the bundled examples when none is given). Extra tarn options pass through.
set -euo pipefail
ROOT="$(cd "$(dirname "$0")/.." && pwd)"
"$ROOT/scripts/setup-deps.sh"
BUILD_DIR="${BUILD_DIR:-$ROOT/build}"
cmake -S "$ROOT" -B "$BUILD_DIR" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$BUILD_DIR" --target tarn >/dev/null
if [[ $# -eq 0 ]]; then
  cd "$ROOT/examples" && exec "$BUILD_DIR/tarn" .
fi
exec "$BUILD_DIR/tarn" "$@"
