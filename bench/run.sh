#!/usr/bin/env bash
# Lints a generated corpus with tarn and compares it with a bare read-and-parse
# of the same files. Not a test: it prints figures for bench/README.md.
# Usage: bench/run.sh [FILES] [MEGABYTES]
set -euo pipefail
ROOT="$(cd "$(dirname "$0")/.." && pwd)"
FILES="${1:-5000}"; MB="${2:-50}"
CORPUS="$ROOT/bench/corpus/${FILES}_${MB}"
BUILD="$ROOT/build-bench"
"$ROOT/scripts/setup-deps.sh"
cmake -S "$ROOT" -B "$BUILD" -G Ninja -DCMAKE_BUILD_TYPE=Release -DTARN_TESTS=OFF >/dev/null
cmake --build "$BUILD" --target tarn tarn_bench_parse | grep -v "^\[" || true
[[ -d "$CORPUS" ]] || python3 "$ROOT/bench/gen_corpus.py" "$CORPUS" --files "$FILES" --megabytes "$MB"
largest=$(find "$CORPUS" -name '*.py' -printf '%s\n' | sort -n | tail -1)
echo "corpus: $FILES files, largest $((largest / 1024)) KiB"
find "$CORPUS" -name "*.py" -exec cat {} + >/dev/null   # warm the page cache

measure() {  # label, command...
  local label="$1"; shift
  local best="" rss=""
  for _ in 1 2 3; do
    /usr/bin/time -f '%e %M' -o "$BUILD/.time" "$@" >/dev/null 2>"$BUILD/.err" || true
    read -r secs kb < <(tail -1 "$BUILD/.time")
    if [[ -z "$best" ]] || awk "BEGIN{exit !($secs < $best)}"; then best=$secs; rss=$kb; fi
  done
  printf '%-28s %6.2f s  peak RSS %6.1f MiB\n' "$label" "$best" "$(awk "BEGIN{print $rss/1024}")"
  echo "$best"  >"$BUILD/.last"
}
measure "bare read + parse" "$BUILD/tarn_bench_parse" "$CORPUS"
bare=$(cat "$BUILD/.last")
measure "tarn --output-format json" "$BUILD/tarn" --output-format json "$CORPUS"
tarn=$(cat "$BUILD/.last")
awk "BEGIN{printf \"ratio tarn / bare parse: %.2fx\n\", $tarn/$bare}"
