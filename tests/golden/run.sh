#!/usr/bin/env bash
# End-to-end cases against the real binary. Each case directory holds:
#   cmd              the arguments, as shell words (may be empty; $tmp is the scratch dir)
#   input/           the tree the command runs in (copied to a scratch dir; whatever modes the
#                    clone gave it, its directories are then 755 and its files 644, or 755 when
#                    executable: a mode a case relies on beyond these, setup.sh sets)
#   fixtures         optional: "DEST NAME" lines; ../fixtures/NAME is copied to DEST in the
#                    scratch dir (migrations that many cases share are kept once)
#   setup.sh         optional: run in the scratch dir before the command (e.g. git history);
#                    it runs with a fixed git identity and dates, HOME outside the scratch dir, and
#                    HARNESS, this script's directory (system_trusts.sh there tells whether the
#                    machine's git configuration trusts a directory); exit status 77 skips the case
#                    (for what cannot be set up here), its last line of output saying why
#   env              optional: extra VAR=value lines for the environment
#   cwd              optional: a directory below the scratch dir to run the command in
#   runas            optional: "nobody" runs the command as uid/gid 65534 when the harness is root,
#                    so permission cases mean the same for root and ordinary users; that user is
#                    given a copy of the binary and reads nothing from the source or build tree
#                    (the case is skipped where that user can run no program in any scratch base)
#   run              optional: a bash script run in place of the binary, for cases that reach tarn
#                    through another program (git running it as a hook); it runs where the command
#                    would, with the same environment plus TARN, the binary's absolute path, which
#                    setup.sh is given too
#   expected_stdout, expected_stderr, expected_status
# The scratch dir's path is written @TMP@ in the expected texts. It is made in the first of
# $TMPDIR, /tmp and /var/tmp, outside any git work tree, where the case's user can run programs
# (its copy of tarn, a git hook), else in the first where it can be made at all.
# setup.sh and the command run sealed from the caller's environment (tests/sealed.sh): none of
# the caller's git variables or configuration reach them; the sanitizers' options pass through.
# Usage: run.sh TARN_BINARY CASES_DIR [CASE_NAME...]   (UPDATE=1 rewrites the expectations)
# Exit status: 0 when every case passed or was skipped, 77 when every case was skipped
# (CTest runs one case per test and reports that as skipped), 1 otherwise.
set -uo pipefail
shopt -s nullglob
# What set-up and the command make is readable by the user a runas case runs as, and trusted by
# tarn, whatever the caller's umask.
umask 022
harness="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
sealed="$harness/../sealed.sh"
tarn="$(cd "$(dirname "$1")" && pwd)/$(basename "$1")"; cases="$(cd "$2" 2>/dev/null && pwd)" || cases="$2"; shift 2
failed=0; count=0; skipped=0
bases=(${TMPDIR:+"$TMPDIR"} /tmp /var/tmp)

# Whether DIR lies in a git work tree, whose .git the cases would find above their own.
in_work_tree() {
  local d
  d=$(cd "$1" 2>/dev/null && pwd -P) || return 1
  while :; do
    [[ -e "${d%/}/.git" ]] && return 0
    [[ -n "$d" && "$d" != / ]] || return 1
    d=${d%/*}
  done
}
# Makes the case's base dir (mode 755, for a runas user) and sets base to it: in the first of
# bases where the case's user (the command words given run a program as that user) can run a
# program, which a noexec mount or a place out of that user's reach forbids; else, with
# status 1, in the first where one can be made (base is empty when none can).
make_base() {
  local b first=""
  for b in "${bases[@]}"; do
    in_work_tree "$b" && continue
    base=$(mktemp -d "$b/tarn-golden-XXXXXX" 2>/dev/null) || continue
    base=$(cd "$base" && pwd -P) && chmod 755 "$base"
    printf '#!/bin/sh\n' >"$base/probe" && chmod 755 "$base/probe"
    if "$@" "$base/probe" 2>/dev/null; then
      rm -f "$base/probe"; [[ -z "$first" ]] || rm -rf "$first"
      return 0
    fi
    rm -f "$base/probe"
    if [[ -z "$first" ]]; then first=$base; else rm -rf "$base"; fi
  done
  base=$first
  return 1
}
# Removes the case's base dir, whatever modes set-up left in it.
discard_base() {
  chmod -R u+rwX "$base" 2>/dev/null
  rm -rf "$base"
}
names=("$@")
if ((${#names[@]} == 0)); then
  for d in "$cases"/*/; do names+=("$(basename "$d")"); done
fi
for name in "${names[@]}"; do
  dir="$cases/$name"
  count=$((count + 1))
  prefix=()
  [[ -f "$dir/runas" && "$(id -u)" == 0 ]] && prefix=(setpriv --reuid=65534 --regid=65534 --clear-groups)
  if ! make_base "${prefix[@]}"; then
    if [[ -z "$base" ]]; then
      echo "FAIL $name: no scratch dir can be made in ${bases[*]}"; failed=$((failed + 1)); continue
    elif ((${#prefix[@]})); then
      echo "skip $name: uid 65534 can run no program in a scratch dir under ${bases[*]} (mounted noexec?)"
      skipped=$((skipped + 1)); discard_base; continue
    fi
  fi
  # The scratch dir is base/t; outputs and HOME stay beside it, out of the linted tree.
  tmp="$base/t"
  mkdir "$tmp" "$base/home"
  [[ -d "$dir/input" ]] && cp -a "$dir/input/." "$tmp/"
  if [[ -f "$dir/fixtures" ]]; then
    while read -r dest fixture; do
      [[ -n "$dest" ]] || continue
      mkdir -p "$(dirname "$tmp/$dest")" && cp "$cases/../fixtures/$fixture" "$tmp/$dest"
    done <"$dir/fixtures"
  fi
  # The copies keep the modes of the clone, which its umask chose: a group-writable root is one
  # tarn rightly distrusts, and a runas user must read everything.
  chmod -R u+rwX,go=rX "$tmp"
  extra_env=()
  if [[ -f "$dir/env" ]]; then
    while IFS= read -r line; do [[ -n "$line" ]] && extra_env+=("$line"); done <"$dir/env"
  fi
  case_tarn=$tarn
  if ((${#prefix[@]})); then
    # The source and build trees may sit where only root enters (a clone under /root).
    mkdir "$base/bin" && cp "$tarn" "$base/bin/tarn" && case_tarn="$base/bin/tarn"
  fi
  if [[ -f "$dir/setup.sh" ]]; then
    (cd "$tmp" && "$sealed" --home "$base/home" TARN="$case_tarn" HARNESS="$harness" \
      GIT_AUTHOR_NAME=golden GIT_AUTHOR_EMAIL=golden@example.com GIT_AUTHOR_DATE="2024-01-01T00:00:00Z" \
      GIT_COMMITTER_NAME=golden GIT_COMMITTER_EMAIL=golden@example.com GIT_COMMITTER_DATE="2024-01-01T00:00:00Z" \
      bash -e "$dir/setup.sh") >"$base/setup.log" 2>&1
    setup_status=$?
    if ((setup_status == 77)); then
      # The set-up's last words say why.
      echo "skip $name: $(tail -n 1 "$base/setup.log")"; skipped=$((skipped + 1)); discard_base; continue
    elif ((setup_status != 0)); then
      echo "FAIL $name: setup.sh failed"; cat "$base/setup.log"; failed=$((failed + 1)); discard_base; continue
    fi
  fi
  run_dir="$tmp"
  [[ -f "$dir/cwd" ]] && run_dir="$tmp/$(cat "$dir/cwd")"
  if [[ -f "$dir/run" ]]; then
    cp "$dir/run" "$base/run" && chmod 644 "$base/run"
    args=(bash "$base/run")
  else
    eval "args=(\"\$case_tarn\" $(cat "$dir/cmd" 2>/dev/null))"
  fi
  (cd "$run_dir" && "$sealed" --home "$base/home" TARN="$case_tarn" \
     "${extra_env[@]}" "${prefix[@]}" "${args[@]}" >"$base/out" 2>"$base/err" </dev/null)
  status=$?
  sed "s#$tmp#@TMP@#g" "$base/out" >"$base/out2"
  sed "s#$tmp#@TMP@#g" "$base/err" >"$base/err2"
  if [[ "${UPDATE:-}" == 1 ]]; then
    cp "$base/out2" "$dir/expected_stdout"; cp "$base/err2" "$dir/expected_stderr"
    echo "$status" >"$dir/expected_status"
  fi
  ok=1
  diff -u "$dir/expected_stdout" "$base/out2" >"$base/d1" 2>&1 || ok=0
  if [[ -f "$dir/expected_stderr" ]]; then
    diff -u "$dir/expected_stderr" "$base/err2" >"$base/d2" 2>&1 || ok=0
  elif [[ -s "$base/err2" ]]; then
    ok=0; cp "$base/err2" "$base/d2"
  fi
  expected_status=$(cat "$dir/expected_status" 2>/dev/null || echo 0)
  [[ "$status" == "$expected_status" ]] || ok=0
  if ((ok)); then
    echo "ok   $name"
  else
    failed=$((failed + 1))
    echo "FAIL $name (status $status, expected $expected_status)"
    cat "$base/d1" "$base/d2" 2>/dev/null | head -60
  fi
  discard_base
done
echo "$((count - failed - skipped))/$count golden cases passed, $skipped skipped"
((failed == 0)) || exit 1
((count > 0 && skipped == count)) && exit 77
exit 0
