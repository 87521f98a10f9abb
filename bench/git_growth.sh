#!/usr/bin/env bash
# Times git mode over change sets of growing size, in two layouts:
#   folders  N changed migrations in N top-level folders, each folder with one
#            changed file that is not a migration (so R008 reports N findings
#            and its suppression check sees N migrations);
#   one      N changed migrations in one app/migrations folder, beside one
#            changed models.py (so the folder's tree is large).
# Both modes should grow linearly with N in both layouts. Not a test: it
# prints rows for bench/README.md.
# Usage: bench/git_growth.sh [TARN_BINARY] [N...]
#   (default: a Release build in build-bench; N = 1250 2500 5000 10000)
set -euo pipefail
ROOT="$(cd "$(dirname "$0")/.." && pwd)"
BUILD="$ROOT/build-bench"
if [[ $# -gt 0 && -x "$1" && ! "$1" =~ ^[0-9]+$ ]]; then
  TARN="$(cd "$(dirname "$1")" && pwd)/$(basename "$1")"; shift
else
  "$ROOT/scripts/setup-deps.sh"
  cmake -S "$ROOT" -B "$BUILD" -G Ninja -DCMAKE_BUILD_TYPE=Release -DTARN_TESTS=OFF >/dev/null
  cmake --build "$BUILD" --target tarn | grep -v "^\[" || true
  TARN="$BUILD/tarn"
fi
SIZES=("$@")
((${#SIZES[@]})) || SIZES=(1250 2500 5000 10000)
export GIT_CONFIG_NOSYSTEM=1 HOME="$ROOT/bench/corpus" GIT_AUTHOR_NAME=bench GIT_AUTHOR_EMAIL=bench@example.com \
  GIT_COMMITTER_NAME=bench GIT_COMMITTER_EMAIL=bench@example.com

make_repo() {  # dir, n, layout
  local dir="$1" n="$2" layout="$3"
  rm -rf "$dir" && mkdir -p "$dir" && cd "$dir"
  git init -q -b main
  echo "base" >README.md
  git add README.md && git commit -qm base
  git checkout -q -b feature
  python3 - "$n" "$layout" <<'PY'
import os, sys
migration = '''from django.db import migrations


class Migration(migrations.Migration):

    dependencies = []

    operations = []
'''
n, layout = int(sys.argv[1]), sys.argv[2]
if layout == "one":
    os.makedirs("app/migrations")
    for i in range(n):
        with open(f"app/migrations/{i + 1:05d}_step.py", "w") as f:
            f.write(f"# step {i + 1}\n" + migration)
    with open("app/models.py", "w") as f:
        f.write("ID = 0\n")
else:
    for i in range(n):
        folder = f"app{i:05d}"
        os.makedirs(f"{folder}/migrations")
        with open(f"{folder}/migrations/0001_initial.py", "w") as f:
            f.write(f"# app {i}\n" + migration)
        with open(f"{folder}/models.py", "w") as f:
            f.write(f"ID = {i}\n")
PY
  git add -A && git commit -qm feature
}

best_of_3() {  # command...
  local best="" secs
  for _ in 1 2 3; do
    /usr/bin/time -f '%e' -o "$BUILD/.time" "$@" >/dev/null 2>&1 || true
    secs=$(tail -1 "$BUILD/.time")
    if [[ -z "$best" ]] || awk "BEGIN{exit !($secs < $best)}"; then best=$secs; fi
  done
  echo "$best"
}

mkdir -p "$BUILD"
printf '| layout | changed migrations | --diff | --diff-staged |\n|---|---|---|---|\n'
for layout in folders one; do
  for n in "${SIZES[@]}"; do
    repo="$ROOT/bench/corpus/git_${layout}_$n"
    (make_repo "$repo" "$n" "$layout") >/dev/null
    diff=$(cd "$repo" && best_of_3 "$TARN" --diff main)
    staged=$(cd "$repo" && best_of_3 "$TARN" --diff-staged main)
    printf '| %s | %s | %s s | %s s |\n' "$layout" "$n" "$diff" "$staged"
    rm -rf "$repo"
  done
done
