# shellcheck shell=bash
# Sourced by setup-deps.sh, lint.sh and test.sh: every failed step prints why
# and ends the script with status 2.
set -Eeuo pipefail
script_name=${0##*/}
# A failure without a message of its own still says what failed.
trap 'echo "$script_name: line $LINENO: \`$BASH_COMMAND\` failed" >&2; exit 2' ERR
fail() { echo "$script_name: $*" >&2; exit 2; }
# Runs a command with its output held back, and shows that output only when it fails.
quietly() {
  local what=$1 log; shift
  if ! log=$("$@" 2>&1); then
    printf '%s\n' "$log" >&2
    fail "$what failed"
  fi
}
# Where setup-deps.sh keeps the dependencies it builds, outside the source tree.
DEPS_DIR="${TARN_DEPS_DIR:-$HOME/.cache/tarn-deps}"
