#!/usr/bin/env bash
# Hostile inputs whose cost used to grow with the square of their size, at 1x,
# 2x, 4x and 8x: an exclude pattern of repeated "**/" over 1,000 files, and a
# migration of backslash line continuations. Prints markdown rows for
# bench/README.md. Not a test.
set -euo pipefail
ROOT="$(cd "$(dirname "$0")/.." && pwd)"
BUILD="$ROOT/build-bench"
"$ROOT/scripts/setup-deps.sh"
cmake -S "$ROOT" -B "$BUILD" -G Ninja -DCMAKE_BUILD_TYPE=Release -DTARN_TESTS=OFF >/dev/null
cmake --build "$BUILD" --target tarn | grep -v "^\[" || true
WORK="$(mktemp -d)"
trap 'rm -rf "$WORK"' EXIT

seconds() {  # best of three wall times of the command, in seconds
  local best=""
  for _ in 1 2 3; do
    /usr/bin/time -f '%e' -o "$WORK/.time" "$@" >/dev/null 2>&1 || true
    local t; t=$(tail -1 "$WORK/.time")
    if [[ -z "$best" ]] || awk "BEGIN{exit !($t < $best)}"; then best=$t; fi
  done
  echo "$best"
}

echo "| input | size | wall time (best of 3) |"
echo "|---|---|---|"

# 1,000 migrations, excluded by nothing but a pattern of N repeated "**/".
mkdir -p "$WORK/glob/app/migrations"
for i in $(seq -w 1 1000); do printf 'x = 1\n' >"$WORK/glob/app/migrations/${i}_m.py"; done
for n in 1280 2560 5120 10240; do
  pattern=$(printf '**/%.0s' $(seq "$n"))
  printf '[tool.tarn]\nexclude = ["%snothing.py"]\n' "$pattern" >"$WORK/glob/pyproject.toml"
  size=$(stat -c %s "$WORK/glob/pyproject.toml")
  echo "| exclude of $n \"**/\", 1,000 files | $((size / 1024)) KiB configuration | $(cd "$WORK/glob" && seconds "$BUILD/tarn" .) s |"
done

# One migration of N continuations: refused once the lexer has read its budget.
mkdir -p "$WORK/parse/app/migrations"
for n in 8192 16384 32768 65536; do
  file="$WORK/parse/app/migrations/0001_continued.py"
  { printf 'x = 1'; printf ' \\\n%.0s' $(seq "$n"); printf '\n'; } >"$file"
  size=$(stat -c %s "$file")
  echo "| $n line continuations | $((size / 1024)) KiB file | $(seconds "$BUILD/tarn" "$file") s |"
done

# The same continuations in blocks of 1,360 (4 KiB each) up to the size cap:
# each block's rescans stay within a few KiB, so the lexer's budget sees them
# only because the text is served in small chunks.
for kib in 1280 2560 5120 10236; do
  file="$WORK/parse/app/migrations/0002_blocks.py"
  python3 - "$file" "$kib" <<'PY'
import sys
block = "x = 1" + " \\\n" * 1360 + "\n"
with open(sys.argv[1], "w") as f:
    f.write(block * (int(sys.argv[2]) * 1024 // len(block)))
PY
  size=$(stat -c %s "$file")
  echo "| blocks of 1,360 continuations | $((size / 1024)) KiB file | $(seconds "$BUILD/tarn" "$file") s |"
done
