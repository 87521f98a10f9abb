#!/usr/bin/env bash
# End-to-end cases against the real binary. Each case directory holds:
#   cmd              the arguments, as shell words (may be empty)
#   input/           the tree the command runs in (copied to a scratch dir)
#   setup.sh         optional: run in the scratch dir before the command (e.g. git history)
#   env              optional: extra VAR=value lines for the environment
#   expected_stdout, expected_stderr, expected_status
# The scratch dir's path is written @TMP@ in the expected texts.
# Usage: run.sh TARN_BINARY CASES_DIR [CASE_NAME...]   (UPDATE=1 rewrites the expectations)
set -uo pipefail
shopt -s nullglob
tarn="$1"; cases="$2"; shift 2
failed=0; count=0
names=("$@")
if ((${#names[@]} == 0)); then
  for d in "$cases"/*/; do names+=("$(basename "$d")"); done
fi
for name in "${names[@]}"; do
  dir="$cases/$name"
  count=$((count + 1))
  tmp=$(mktemp -d)
  tmp=$(cd "$tmp" && pwd -P)
  [[ -d "$dir/input" ]] && cp -a "$dir/input/." "$tmp/"
  extra_env=()
  if [[ -f "$dir/env" ]]; then
    while IFS= read -r line; do [[ -n "$line" ]] && extra_env+=("$line"); done <"$dir/env"
  fi
  if [[ -f "$dir/setup.sh" ]]; then
    (cd "$tmp" && HOME="$tmp" GIT_CONFIG_NOSYSTEM=1 bash "$dir/setup.sh") >/dev/null 2>&1 || {
      echo "FAIL $name: setup.sh failed"; failed=$((failed + 1)); rm -rf "$tmp"; continue; }
  fi
  eval "args=($(cat "$dir/cmd" 2>/dev/null))"
  (cd "$tmp" && env -i PATH="$PATH" HOME="$tmp" GIT_CONFIG_NOSYSTEM=1 NO_COLOR=1 "${extra_env[@]}" \
     "$tarn" "${args[@]}" >"$tmp/.out" 2>"$tmp/.err")
  status=$?
  sed "s#$tmp#@TMP@#g" "$tmp/.out" >"$tmp/.out2"
  sed "s#$tmp#@TMP@#g" "$tmp/.err" >"$tmp/.err2"
  if [[ "${UPDATE:-}" == 1 ]]; then
    cp "$tmp/.out2" "$dir/expected_stdout"; cp "$tmp/.err2" "$dir/expected_stderr"
    echo "$status" >"$dir/expected_status"
  fi
  ok=1
  diff -u "$dir/expected_stdout" "$tmp/.out2" >"$tmp/.d1" 2>&1 || ok=0
  if [[ -f "$dir/expected_stderr" ]]; then
    diff -u "$dir/expected_stderr" "$tmp/.err2" >"$tmp/.d2" 2>&1 || ok=0
  elif [[ -s "$tmp/.err2" ]]; then
    ok=0; cp "$tmp/.err2" "$tmp/.d2"
  fi
  expected_status=$(cat "$dir/expected_status" 2>/dev/null || echo 0)
  [[ "$status" == "$expected_status" ]] || ok=0
  if ((ok)); then
    echo "ok   $name"
  else
    failed=$((failed + 1))
    echo "FAIL $name (status $status, expected $expected_status)"
    cat "$tmp/.d1" "$tmp/.d2" 2>/dev/null | head -60
  fi
  rm -rf "$tmp"
done
echo "$((count - failed))/$count golden cases passed"
((failed == 0))
