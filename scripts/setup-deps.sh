#!/usr/bin/env bash
# Installs what a fresh Debian machine lacks to build tarn: system packages and
# the tree-sitter runtime and Python grammar, fetched from npm, verified against
# their published integrity checksums and compiled into static libraries kept
# outside the source tree. A second run changes nothing, so builds that use them
# stay up to date. Any failure prints why and ends with status 2, leaving no
# temporary directory behind.
# shellcheck source=scripts/steps.sh
source "$(dirname "$0")/steps.sh"

DEPS_DIR="${TARN_DEPS_DIR:-$HOME/.cache/tarn-deps}"
PACKAGES=(build-essential cmake ninja-build git pkg-config openssl clang libclang-rt-14-dev
          libgtest-dev libgmock-dev libgit2-dev nlohmann-json3-dev nodejs npm python3)

# Temporary directories and files, removed however the script ends.
scratch=()
cleanup() { ((${#scratch[@]} == 0)) || rm -rf -- "${scratch[@]}"; }
trap cleanup EXIT
trap 'exit 130' INT
trap 'exit 143' TERM
new_scratch() { local d; d=$(mktemp -d "$1") || fail "cannot create a temporary directory"; scratch+=("$d"); REPLY=$d; }

missing=()
for p in "${PACKAGES[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
# node and npm may come from outside Debian's packages; only install them when absent.
if command -v npm >/dev/null 2>&1; then
  missing=("${missing[@]/nodejs}"); missing=("${missing[@]/npm}")
fi
to_install=()
for p in "${missing[@]}"; do [[ -n "$p" ]] && to_install+=("$p"); done
if ((${#to_install[@]})); then
  SUDO=""; [[ $(id -u) -ne 0 ]] && SUDO="sudo"
  $SUDO apt-get update -qq || fail "apt-get update failed"
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq "${to_install[@]}" \
    || fail "could not install ${to_install[*]}"
fi

# name version integrity
NPM_PACKAGES=(
  "tree-sitter 0.22.4 sha512-usbHZP9/oxNsUY65MQUsduGRqDHQOou1cagUSwjhoSYAmSahjQDAVsh9s+SlZkn8X8+O1FULRGwHu7AFP3kjzg=="
  "tree-sitter-python 0.23.6 sha512-yIM9z0oxKIxT7bAtPOhgoVl6gTXlmlIhue7liFT4oBPF/lha7Ha4dQBS82Av6hMMRZoVnFJI8M6mL+SwWoLD3A=="
)

mkdir -p "$DEPS_DIR" || fail "cannot create $DEPS_DIR"
for entry in "${NPM_PACKAGES[@]}"; do
  read -r name version integrity <<<"$entry"
  dest="$DEPS_DIR/$name-$version"
  [[ -f "$dest/.verified" ]] && continue
  new_scratch "${TMPDIR:-/tmp}/tarn-deps.XXXXXX"; tmp=$REPLY
  quietly "fetching $name@$version from npm" \
    env -C "$tmp" npm pack --loglevel=error "$name@$version"
  tgz="$tmp/$name-$version.tgz"
  [[ -f "$tgz" ]] || fail "npm did not produce $name-$version.tgz"
  actual="sha512-$(openssl dgst -sha512 -binary "$tgz" | base64 -w0)"
  if [[ "$actual" != "$integrity" ]]; then
    fail "checksum mismatch for $name@$version
  expected $integrity
  actual   $actual"
  fi
  # Unpacked beside its destination and moved in whole, so an interrupted run
  # never leaves a half-unpacked package that looks complete.
  new_scratch "$DEPS_DIR/.unpack.XXXXXX"; unpack=$REPLY/package
  mkdir "$unpack"
  quietly "unpacking $name@$version" tar -xzf "$tgz" -C "$unpack" --strip-components=1
  touch "$unpack/.verified"
  rm -rf "$dest"; mv -T "$unpack" "$dest"
done

TS="$DEPS_DIR/tree-sitter-0.22.4"
PY="$DEPS_DIR/tree-sitter-python-0.23.6"
LIB="$DEPS_DIR/lib"
mkdir -p "$LIB" "$DEPS_DIR/include/tree_sitter"
# Replaced only when its content differs: a newer time stamp alone would make
# every build that includes it recompile.
api_h="$DEPS_DIR/include/tree_sitter/api.h"
if ! cmp -s "$TS/vendor/tree-sitter/lib/include/tree_sitter/api.h" "$api_h"; then
  scratch+=("$api_h.tmp.$$")
  cp "$TS/vendor/tree-sitter/lib/include/tree_sitter/api.h" "$api_h.tmp.$$"
  mv "$api_h.tmp.$$" "$api_h"
fi

CC="${CC:-cc}"
# Compiles C sources into the static library $1 (written whole, then moved in place).
build_library() {
  local archive=$1; shift
  local flags=() sources=() objects=() obj src
  while (($#)) && [[ $1 != -- ]]; do flags+=("$1"); shift; done
  shift; sources=("$@")
  new_scratch "${TMPDIR:-/tmp}/tarn-deps.XXXXXX"; obj=$REPLY
  for src in "${sources[@]}"; do
    objects+=("$obj/$(basename "${src%.c}").o")
    quietly "compiling $src" "$CC" -O2 -g -fPIC -std=c11 "${flags[@]}" -c "$src" -o "${objects[-1]}"
  done
  quietly "archiving $(basename "$archive")" ar rcs "$obj/lib.a" "${objects[@]}"
  scratch+=("$archive.tmp.$$")
  mv "$obj/lib.a" "$archive.tmp.$$"
  mv "$archive.tmp.$$" "$archive"
}
if [[ ! -f "$LIB/libtree-sitter.a" ]]; then
  build_library "$LIB/libtree-sitter.a" -D_DEFAULT_SOURCE -Wall -Wextra \
    -I"$TS/vendor/tree-sitter/lib/include" -I"$TS/vendor/tree-sitter/lib/src" \
    -- "$TS/vendor/tree-sitter/lib/src/lib.c"
fi
if [[ ! -f "$LIB/libtree-sitter-python.a" ]]; then
  # Generated code: its warnings are not ours to fix.
  build_library "$LIB/libtree-sitter-python.a" -w -I"$PY/src" -- "$PY/src/parser.c" "$PY/src/scanner.c"
fi
