# shellcheck shell=bash
# Sourced by setup-deps.sh, lint.sh and test.sh: every failed step prints why
# and ends the script with status 2.
set -Eeuo pipefail
script_name=${0##*/}
# A failure without a message of its own still says what failed: once, from
# the script itself (a failed command substitution's subshell runs this trap
# too, and then the command around it fails).
trap '((BASHPID != $$)) || echo "$script_name: line $LINENO: \`$BASH_COMMAND\` failed" >&2; exit 2' ERR
fail() { echo "$script_name: $*" >&2; exit 2; }

# Temporary directories and files, removed however the script ends. bash ends
# a script with status 1 on an error of its own (an unset variable), which the
# ERR trap does not see; lint.sh's callers read 1 as "findings", so it becomes 2.
scratch=()
finish() {
  local status=$?
  ((${#scratch[@]} == 0)) || rm -rf -- "${scratch[@]}"
  ((status != 1)) || exit 2
}
trap finish EXIT
trap 'exit 130' INT
trap 'exit 143' TERM
new_scratch() { local d; d=$(mktemp -d "$1") || fail "cannot create a temporary directory"; scratch+=("$d"); REPLY=$d; }

# Runs a command with its output held back, and shows that output only when it fails.
quietly() {
  local what=$1 log; shift
  if ! log=$("$@" 2>&1); then
    printf '%s\n' "$log" >&2
    fail "$what failed"
  fi
}

# A directory named by the variable $1, or else $2. A relative one is taken
# from the directory the command was started in, as any path given to a
# command is; exported resolved, so a script started from another directory
# reads the same one.
resolved_dir() {
  local dir=${!1:-$2}
  [[ $dir == /* ]] || dir=$PWD/$dir
  export "$1=$dir"
  REPLY=$dir
}

# Where setup-deps.sh keeps the dependencies it builds, outside the source
# tree. A service unit or `env -i` may leave HOME unset.
[[ -n ${TARN_DEPS_DIR:-} || -n ${HOME:-} ]] ||
  fail "HOME is not set, so there is no ~/.cache/tarn-deps for the dependency builds: set HOME, or TARN_DEPS_DIR to a directory for them"
resolved_dir TARN_DEPS_DIR "${HOME:-}/.cache/tarn-deps"; DEPS_DIR=$REPLY
