#!/usr/bin/env bash
# Installs what a fresh Debian machine lacks to build tarn: system packages and
# the tree-sitter runtime and Python grammar, fetched from npm, verified against
# their published integrity checksums and compiled into static libraries kept
# outside the source tree. A second run does nothing.
set -euo pipefail

DEPS_DIR="${TARN_DEPS_DIR:-$HOME/.cache/tarn-deps}"
PACKAGES=(build-essential cmake ninja-build git pkg-config openssl clang libclang-rt-14-dev
          libgtest-dev libgmock-dev libgit2-dev libtomlplusplus-dev nlohmann-json3-dev nodejs npm)

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
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq "${to_install[@]}"
fi

# name version integrity
NPM_PACKAGES=(
  "tree-sitter 0.22.4 sha512-usbHZP9/oxNsUY65MQUsduGRqDHQOou1cagUSwjhoSYAmSahjQDAVsh9s+SlZkn8X8+O1FULRGwHu7AFP3kjzg=="
  "tree-sitter-python 0.23.6 sha512-yIM9z0oxKIxT7bAtPOhgoVl6gTXlmlIhue7liFT4oBPF/lha7Ha4dQBS82Av6hMMRZoVnFJI8M6mL+SwWoLD3A=="
)

mkdir -p "$DEPS_DIR"
for entry in "${NPM_PACKAGES[@]}"; do
  read -r name version integrity <<<"$entry"
  dest="$DEPS_DIR/$name-$version"
  [[ -f "$dest/.verified" ]] && continue
  tmp=$(mktemp -d)
  (cd "$tmp" && npm pack --silent "$name@$version" >/dev/null)
  tgz="$tmp/$name-$version.tgz"
  actual="sha512-$(openssl dgst -sha512 -binary "$tgz" | base64 -w0)"
  if [[ "$actual" != "$integrity" ]]; then
    echo "checksum mismatch for $name@$version" >&2
    echo "  expected $integrity" >&2
    echo "  actual   $actual" >&2
    rm -rf "$tmp"; exit 1
  fi
  rm -rf "$dest"; mkdir -p "$dest"
  tar -xzf "$tgz" -C "$dest" --strip-components=1
  rm -rf "$tmp"
  touch "$dest/.verified"
done

TS="$DEPS_DIR/tree-sitter-0.22.4"
PY="$DEPS_DIR/tree-sitter-python-0.23.6"
LIB="$DEPS_DIR/lib"
mkdir -p "$LIB" "$DEPS_DIR/include/tree_sitter"
cp -f "$TS/vendor/tree-sitter/lib/include/tree_sitter/api.h" "$DEPS_DIR/include/tree_sitter/api.h"

CC="${CC:-cc}"
if [[ ! -f "$LIB/libtree-sitter.a" ]]; then
  obj=$(mktemp -d)
  "$CC" -O2 -g -fPIC -std=c11 -D_DEFAULT_SOURCE -Wall -Wextra \
    -I"$TS/vendor/tree-sitter/lib/include" -I"$TS/vendor/tree-sitter/lib/src" \
    -c "$TS/vendor/tree-sitter/lib/src/lib.c" -o "$obj/lib.o"
  ar rcs "$LIB/libtree-sitter.a.tmp" "$obj/lib.o" && mv "$LIB/libtree-sitter.a.tmp" "$LIB/libtree-sitter.a"
  rm -rf "$obj"
fi
if [[ ! -f "$LIB/libtree-sitter-python.a" ]]; then
  obj=$(mktemp -d)
  # Generated code: its warnings are not ours to fix.
  "$CC" -O2 -g -fPIC -std=c11 -w -I"$PY/src" -c "$PY/src/parser.c" -o "$obj/parser.o"
  "$CC" -O2 -g -fPIC -std=c11 -w -I"$PY/src" -c "$PY/src/scanner.c" -o "$obj/scanner.o"
  ar rcs "$LIB/libtree-sitter-python.a.tmp" "$obj/parser.o" "$obj/scanner.o" && mv "$LIB/libtree-sitter-python.a.tmp" "$LIB/libtree-sitter-python.a"
  rm -rf "$obj"
fi
