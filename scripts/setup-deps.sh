#!/usr/bin/env bash
# Installs what a fresh Debian 12 or 13 machine lacks to build tarn: Debian
# packages (without recommended ones), the tree-sitter runtime and Python
# grammar, fetched from the npm registry and verified against their published
# integrity checksums, and libgit2 of the 1.9 series, built from Debian 13's
# source package; all compiled into static libraries kept outside the source
# tree, one build per pinned version. A second run changes nothing, so builds
# that use them stay up to date. Any failure prints why and ends with status
# 2, leaving no temporary directory behind.
#
# Usage: setup-deps.sh [--tests] [PACKAGE...]
#   --tests     also what the tests take (lint.sh builds tarn alone)
#   PACKAGE...  more Debian packages, installed alike (CI's sanitizer tool chain)
# shellcheck source=scripts/steps.sh
source "$(dirname "$0")/steps.sh"

# Names that Debian 12 and 13 both resolve. dpkg-dev, debian-archive-keyring
# and xz-utils serve the libgit2 build; the libraries after them are linked
# into tarn with it.
PACKAGES=(build-essential cmake ninja-build pkg-config ca-certificates openssl
          dpkg-dev debian-archive-keyring xz-utils libhttp-parser-dev libpcre2-dev zlib1g-dev)
# npm fetches the tree-sitter sources; one from outside Debian's packages serves as well.
command -v npm >/dev/null 2>&1 || PACKAGES+=(nodejs npm)
TEST_PACKAGES=(libgtest-dev libgmock-dev nlohmann-json3-dev python3 git)
if [[ ${1:-} == --tests ]]; then
  PACKAGES+=("${TEST_PACKAGES[@]}"); shift
fi
PACKAGES+=("$@")

# Keeps the lines of apt's output $1 about fetching in fetch_problems, and the
# sources they name (an address up to its dists/ or pool/ directory) in
# unfetched.
note_fetch_problems() {
  fetch_problems=$(grep -E '^(W|E): .*(Failed to fetch|failed to download)' <<<"$1") || true
  unfetched=$(grep -oE 'Failed to fetch [^ ]+' <<<"$fetch_problems" |
              sed -E 's/^Failed to fetch //; s#/(dists|pool)/.*##' | sort -u | paste -sd' ') || true
}

# Runs an `apt-get update` ($3...; $1 names the step, $2 is added to a
# failure's message). It ends with status 0 even when it reached no mirror
# (only warning), or with 100 when a source without a signed index fails; the
# next apt command then fails with a message that blames the machine's
# configuration. So the problems with fetching are noted, and fail_unfetched
# says what they mean.
apt_update() {
  local what=$1 hint=$2 log status=0 errors; shift 2
  log=$("$@" 2>&1) || status=$?
  note_fetch_problems "$log"
  # Any other error leaves apt's state in doubt; other warnings (an old key
  # format, say) change nothing here.
  errors=$(grep '^E: ' <<<"$log" | grep -v 'Failed to fetch') || true
  if [[ -n $errors ]] || { ((status != 0)) && [[ -z $fetch_problems ]]; }; then
    printf '%s\n' "$log" >&2
    fail "$what failed${hint:+; $hint}"
  fi
}

# Whether the noted problems are of reaching a source at all.
unreachable() {
  grep -qiE 'failure resolving|could not resolve|could not connect|unable to connect|connection failed|network is unreachable|no route to host|timed out' <<<"$fetch_problems"
}

# The sites of the indexes apt holds whose origin is Debian (read now, or kept
# from before); a third-party source names its own origin.
debian_sites() {
  LC_ALL=C apt-get indextargets --format '$(SITE)|$(ORIGIN)' 'Created-By: Packages' 2>/dev/null | sed -n 's/|Debian$//p'
}
debian_index_read() { [[ -n $(debian_sites) ]]; }

# Whether a source apt could not fetch from is one of Debian's.
debian_unfetched() {
  local site sites
  sites=$(debian_sites)
  for site in $unfetched; do grep -qxF "$site" <<<"$sites" && return 0; done
  return 1
}

# Ends the script on the noted fetch problems; $1 says what they prevent. They
# are the Debian mirror's unless Debian's index was read and every source that
# failed is another's.
fail_unfetched() {
  local source="the Debian mirror" why="did not serve its index"
  debian_index_read && ! debian_unfetched && source="a source other than the Debian mirror"
  unreachable && why="cannot be reached (no network, no name resolution or no route to it)"
  printf '%s\n' "$fetch_problems" >&2
  fail "$source $why: apt could not fetch from $unfetched, so $1"
}

# Installs those of the given Debian packages that are missing, without
# recommended packages (they would more than double the count), showing apt's
# output only when it fails. apt runs with LC_ALL=C, whatever the user's
# language: its messages are judged here.
install_packages() {
  local missing=() p sudo=() log
  for p; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
  done
  ((${#missing[@]})) || return 0
  local by_hand="apt-get update && apt-get install --no-install-recommends ${missing[*]}"
  if ((EUID != 0)); then
    command -v sudo >/dev/null 2>&1 || fail "these Debian packages are missing: ${missing[*]}
installing them takes root: run this as root, or install sudo, or have an administrator run:
  $by_hand"
    sudo=(sudo)
  fi
  echo "$script_name: installing ${missing[*]} (the first run takes a few minutes)" >&2
  apt_update "reading Debian's package index" "by hand, as root: $by_hand" "${sudo[@]}" env LC_ALL=C apt-get -q update
  # With the Debian mirror out of reach, an index kept from before would only
  # have apt try every download in turn (minutes, with apt's retries).
  if unreachable && debian_unfetched; then
    fail_unfetched "${missing[*]} cannot be installed"
  fi
  # Another source that could not be fetched matters only if the packages are
  # not found elsewhere (a third-party repository may be down), hence judged here.
  if ! log=$("${sudo[@]}" env LC_ALL=C DEBIAN_FRONTEND=noninteractive \
             apt-get -q -y install --no-install-recommends "${missing[@]}" 2>&1); then
    if [[ -n "$fetch_problems" ]] && ! debian_index_read; then
      # Packages not found follow from the missing index; other errors are news.
      grep '^E: ' <<<"$log" | grep -vE 'Unable to locate package|has no installation candidate' >&2 || true
      fail_unfetched "${missing[*]} could not be installed"
    fi
    # Debian's index was read: apt's word on each package stands, and a source
    # that could not be fetched is named, since a package it alone offers is
    # then not found.
    local update_problems=$fetch_problems unread=""
    [[ -z "$update_problems" ]] || unread=" (apt read Debian's index, but could not fetch from $unfetched)"
    # A download that failed: its source is named, and apt's long plan is not shown.
    note_fetch_problems "$log"
    [[ -z "$fetch_problems" ]] || fail_unfetched "${missing[*]} could not be downloaded"
    [[ -z "$update_problems" ]] || printf '%s\n' "$update_problems" >&2
    printf '%s\n' "$log" >&2
    fail "installing Debian packages failed$unread; by hand, as root: $by_hand"
  fi
}
install_packages "${PACKAGES[@]}"

TREE_SITTER_VERSION=0.22.4
TREE_SITTER_PYTHON_VERSION=0.23.6
# name version integrity
NPM_PACKAGES=(
  "tree-sitter $TREE_SITTER_VERSION sha512-usbHZP9/oxNsUY65MQUsduGRqDHQOou1cagUSwjhoSYAmSahjQDAVsh9s+SlZkn8X8+O1FULRGwHu7AFP3kjzg=="
  "tree-sitter-python $TREE_SITTER_PYTHON_VERSION sha512-yIM9z0oxKIxT7bAtPOhgoVl6gTXlmlIhue7liFT4oBPF/lha7Ha4dQBS82Av6hMMRZoVnFJI8M6mL+SwWoLD3A=="
)

mkdir -p "$DEPS_DIR/lib" || fail "cannot create $DEPS_DIR"
for entry in "${NPM_PACKAGES[@]}"; do
  read -r name version integrity <<<"$entry"
  dest="$DEPS_DIR/$name-$version"
  [[ -f "$dest/.verified" ]] && continue
  new_scratch "${TMPDIR:-/tmp}/tarn-deps.XXXXXX"; tmp=$REPLY
  # npm's own retries give up on an unreachable registry only after a minute
  # or more, silently; these give up within one.
  if ! log=$(env -C "$tmp" npm pack --loglevel=error --fetch-retries=1 --fetch-retry-mintimeout=2000 \
             --fetch-retry-maxtimeout=2000 --fetch-timeout=20000 "$name@$version" 2>&1); then
    # npm's line that names the request and the reason says it all there.
    if grep -qE 'E(CONNREFUSED|CONNRESET|NOTFOUND|AI_AGAIN|TIMEDOUT|NETUNREACH|HOSTUNREACH)|ERR_SOCKET_TIMEOUT|network timeout' <<<"$log"; then
      grep -m1 -E 'request to .* failed|network timeout at' <<<"$log" >&2 || printf '%s\n' "$log" >&2
      fail "the npm registry ($(npm config get registry 2>/dev/null || echo "npm's setting")) cannot be reached (no network, no name resolution or no route to it), so $name@$version cannot be fetched"
    fi
    printf '%s\n' "$log" >&2
    fail "fetching $name@$version from the npm registry failed"
  fi
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
# Each archive is named by its package's version: changing a pinned version
# builds anew, and a second run builds nothing.
TS="$DEPS_DIR/tree-sitter-$TREE_SITTER_VERSION"
PY="$DEPS_DIR/tree-sitter-python-$TREE_SITTER_PYTHON_VERSION"
TS_LIB="$DEPS_DIR/lib/libtree-sitter-$TREE_SITTER_VERSION.a"
PY_LIB="$DEPS_DIR/lib/libtree-sitter-python-$TREE_SITTER_PYTHON_VERSION.a"
if [[ ! -f "$TS_LIB" ]]; then
  build_library "$TS_LIB" -D_DEFAULT_SOURCE -Wall -Wextra \
    -I"$TS/vendor/tree-sitter/lib/include" -I"$TS/vendor/tree-sitter/lib/src" \
    -- "$TS/vendor/tree-sitter/lib/src/lib.c"
fi
if [[ ! -f "$PY_LIB" ]]; then
  # Generated code: its warnings are not ours to fix.
  build_library "$PY_LIB" -w -I"$PY/src" -- "$PY/src/parser.c" "$PY/src/scanner.c"
fi

# libgit2 1.9. A machine whose own libgit2 is of that series is used as it
# is. Otherwise Debian 13's source package is fetched through a sources list
# of our own, given to apt as options (the machine's apt configuration is
# left as it is), on the Debian mirrors the machine already uses. apt checks
# every file against the archive's signed index and dpkg-source against the
# .dsc while it applies Debian's patches; the upstream tarball must also
# match the checksum pinned here. The Debian revision is left open so that
# security updates come along.
LIBGIT2_UPSTREAM=1.9.0
LIBGIT2_ORIG_SHA256=08f1f9137c4804ac4be4748f7141f8a6a9b7a12c942ac2fd4db5a28f8b65caa2
GIT2="$DEPS_DIR/libgit2-$LIBGIT2_UPSTREAM"
system_libgit2_fits() {
  pkg-config --atleast-version=1.9 libgit2 2>/dev/null && ! pkg-config --atleast-version=1.10 libgit2
}
if [[ ! -f "$GIT2/.built" ]] && ! system_libgit2_fits; then
  echo "$script_name: building libgit2 $LIBGIT2_UPSTREAM from Debian 13's source (a minute or two)" >&2
  new_scratch "${TMPDIR:-/tmp}/tarn-deps.XXXXXX"; work=$REPLY
  # The machine's Debian mirrors: the one of its release, and its security
  # mirror; those whose index names Debian as its origin, so that another
  # source listed first is not taken for one. Where the lists were emptied (as
  # container images commonly are) apt lists no source with its index, and
  # --no-release-info lists every source, index or not: there a source of
  # the main component whose release is this machine's Debian release (by
  # codename or suite) is taken, as third-party sources name releases of
  # their own ("nodistro", "bookworm-pgdg") or components ("stable").
  codename=$(. /etc/os-release 2>/dev/null && echo "${VERSION_CODENAME:-}") || codename=""
  debian_sources=$(LC_ALL=C apt-get indextargets --format '$(SITE)|$(RELEASE)|$(ORIGIN)' 'Created-By: Packages' 2>/dev/null |
            grep '|Debian$') ||
    debian_sources=$(LC_ALL=C apt-get indextargets --no-release-info --format '$(SITE)|$(RELEASE)|' \
                     'Created-By: Packages' 'Component: main' 2>/dev/null |
                     grep -E "\|(${codename:-stable}|stable|oldstable)(-security)?\|$") ||
    debian_sources=""
  main_site="" security_site=""
  while IFS='|' read -r site release _; do
    case $release in
      *-security) security_site=${security_site:-$site} ;;
      *-*) ;;
      *) main_site=${main_site:-$site} ;;
    esac
  done <<<"$debian_sources"
  [[ -n "$main_site" ]] || fail "apt names no Debian mirror to fetch libgit2's source from"
  keyring=/usr/share/keyrings/debian-archive-keyring.gpg
  {
    echo "deb-src [signed-by=$keyring] $main_site trixie main"
    [[ -z "$security_site" ]] || echo "deb-src [signed-by=$keyring] $security_site trixie-security main"
  } >"$work/sources.list"
  mkdir -p "$work/parts" "$work/lists/partial" "$work/cache/archives/partial" "$work/src"
  apt_options=(-o "Dir::Etc::SourceList=$work/sources.list" -o "Dir::Etc::SourceParts=$work/parts"
               -o "Dir::State::Lists=$work/lists" -o "Dir::Cache=$work/cache"
               -o "Debug::NoLocking=1")
  # As root, apt would fetch as its own user, who cannot write to these
  # directories; as another user (one with no name, say) it fetches as that user.
  ((EUID != 0)) || apt_options+=(-o "APT::Sandbox::User=root")
  apt_update "reading Debian 13's source index" "" env LC_ALL=C apt-get -q "${apt_options[@]}" update
  # This list names Debian's mirrors alone: every index counts.
  [[ -z "$fetch_problems" ]] || fail_unfetched "libgit2's source cannot be fetched"
  quietly "fetching libgit2's Debian source" \
    env -C "$work/src" apt-get "${apt_options[@]}" source --download-only "libgit2"
  dsc=("$work/src/libgit2_$LIBGIT2_UPSTREAM"+ds-*.dsc)
  [[ -f "${dsc[0]}" ]] || fail "Debian 13 no longer offers libgit2 $LIBGIT2_UPSTREAM: $(ls "$work/src")"
  orig="$work/src/libgit2_$LIBGIT2_UPSTREAM+ds.orig.tar.xz"
  [[ -f "$orig" ]] || fail "libgit2's source package holds no $(basename "$orig")"
  actual=$(sha256sum "$orig" | cut -d' ' -f1)
  if [[ "$actual" != "$LIBGIT2_ORIG_SHA256" ]]; then
    fail "checksum mismatch for $(basename "$orig")
  expected $LIBGIT2_ORIG_SHA256
  actual   $actual"
  fi
  quietly "unpacking libgit2's source and applying Debian's patches" \
    dpkg-source -x "${dsc[0]}" "$work/libgit2"
  # Only what reading a local repository takes: no network transports, no
  # command-line tool, no tests.
  quietly "configuring libgit2" cmake -S "$work/libgit2" -B "$work/build" -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_INSTALL_PREFIX="$work/install" -DCMAKE_POSITION_INDEPENDENT_CODE=ON -DBUILD_SHARED_LIBS=OFF \
    -DUSE_HTTPS=OFF -DUSE_SSH=OFF -DUSE_NTLMCLIENT=OFF -DUSE_GSSAPI=OFF -DBUILD_TESTS=OFF -DBUILD_CLI=OFF \
    -DBUILD_EXAMPLES=OFF -DUSE_HTTP_PARSER=http-parser -DREGEX_BACKEND=pcre2
  quietly "building libgit2" cmake --build "$work/build"
  quietly "installing libgit2" cmake --install "$work/build"
  new_scratch "$DEPS_DIR/.unpack.XXXXXX"; staged=$REPLY/libgit2
  mkdir "$staged"
  # Its CMake and pkg-config files name the temporary prefix; tarn needs neither.
  rm -rf "$work/install/lib/cmake" "$work/install/lib/pkgconfig"
  mv "$work/install/include" "$work/install/lib" "$staged/"
  touch "$staged/.built"
  rm -rf "$GIT2"; mv -T "$staged" "$GIT2"
fi

# Where the builds above are, for CMakeLists.txt. Rewritten only when it
# changes: CMake reconfigures when it does, and the new paths relink tarn.
libgit2_dir=""
[[ -f "$GIT2/.built" ]] && libgit2_dir="\${CMAKE_CURRENT_LIST_DIR}/${GIT2##*/}"
paths="$DEPS_DIR/tarn-deps.cmake"
content="# Written by scripts/setup-deps.sh: the dependency builds of the pinned versions.
set(TARN_TREE_SITTER_INCLUDE_DIR \"\${CMAKE_CURRENT_LIST_DIR}/${TS##*/}/vendor/tree-sitter/lib/include\")
set(TARN_TREE_SITTER_LIBRARY \"\${CMAKE_CURRENT_LIST_DIR}/lib/${TS_LIB##*/}\")
set(TARN_TREE_SITTER_PYTHON_LIBRARY \"\${CMAKE_CURRENT_LIST_DIR}/lib/${PY_LIB##*/}\")
# Empty when the machine's own libgit2 is of the 1.9 series.
set(TARN_LIBGIT2_DIR \"$libgit2_dir\")"
if [[ "$(cat "$paths" 2>/dev/null)" != "$content" ]]; then
  scratch+=("$paths.tmp.$$")
  printf '%s\n' "$content" >"$paths.tmp.$$"
  mv "$paths.tmp.$$" "$paths"
fi
