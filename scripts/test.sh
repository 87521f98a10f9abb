#!/usr/bin/env bash
# Sets up a fresh machine if needed, builds everything into build-test/ (or
# $TARN_TEST_BUILD_DIR) and runs every test, naming each one skipped with its
# reason. Extra arguments go to cmake's configure step. TARN_WERROR=ON makes
# compiler warnings errors (CI sets it). Exit status: 0 when every test passed
# or was skipped, 2 when set-up, the build or a test failed (with its errors
# shown).
# shellcheck source=scripts/steps.sh
source "$(dirname "$0")/steps.sh" || exit 2
ROOT="$(cd "$(dirname "$0")/.." && pwd)"
# Resolved before the cd below, as lint.sh resolves its own; not lint.sh's
# variable: the two builds are configured differently.
resolved_dir TARN_TEST_BUILD_DIR "$ROOT/build-test"; BUILD_DIR=$REPLY
cd "$ROOT" || exit 2
./scripts/setup-deps.sh --tests || exit 2
# TARN_TESTS=ON: lint.sh turns the tests off in a build directory it configures.
quietly "configuring $BUILD_DIR" cmake -S . -B "$BUILD_DIR" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DTARN_DEPS_DIR="$DEPS_DIR" -DTARN_WERROR="${TARN_WERROR:-OFF}" -DTARN_TESTS=ON "$@"
# Shown as it runs: a developer wants to see the warnings.
cmake --build "$BUILD_DIR" || fail "building $BUILD_DIR failed"
status=0
ctest --test-dir "$BUILD_DIR" --output-on-failure -j"$(nproc)" || status=$?
# CTest names the tests it skipped but not why; each said why in its output.
awk '/^[0-9]+\/[0-9]+ Test: /{name=$3} /^skip(ped| [^:]*): /{sub(/^skip(ped| [^:]*): /, ""); print "skipped " name ": " $0}' \
  "$BUILD_DIR/Testing/Temporary/LastTest.log" 2>/dev/null || true
((status == 0)) || fail "a test failed (listed above)"
