#!/usr/bin/env bash
# Runs a command in an environment of its own, so that a test never sees the
# caller's git (GIT_DIR, GIT_INDEX_FILE and the others a git hook sets,
# GIT_CONFIG_GLOBAL, GIT_CONFIG_PARAMETERS from `git -c`), configuration files
# under the caller's HOME or XDG_CONFIG_HOME, or colour preferences.
# What passes: PATH, TMPDIR (where scratch files go), a scratch HOME made there
# (removed afterwards; `--home DIR` names one the caller keeps),
# GIT_CONFIG_NOSYSTEM=1, NO_COLOR=1, the sanitizers' option variables, and
# NAME=value words before the command, as env(1) takes them.
# Usage: sealed.sh [--home DIR] [NAME=value...] COMMAND [ARG...]
# Exit status: the command's, or 125 when no scratch HOME could be made.
set -uo pipefail
home="" scratch=""
if [[ "${1:-}" == --home ]]; then
  home=$2; shift 2
else
  scratch=$(mktemp -d --tmpdir tarn-home-XXXXXX) || exit 125
  home=$scratch
fi
passed=()
for var in TMPDIR ASAN_OPTIONS UBSAN_OPTIONS LSAN_OPTIONS; do [[ -n "${!var:-}" ]] && passed+=("$var=${!var}"); done
env -i PATH="$PATH" HOME="$home" GIT_CONFIG_NOSYSTEM=1 NO_COLOR=1 "${passed[@]}" "$@"
status=$?
[[ -z "$scratch" ]] || rm -rf "$scratch"
exit "$status"
