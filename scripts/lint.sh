#!/usr/bin/env bash
# Sets up a fresh machine if needed, builds tarn into build/ (or
# $TARN_BUILD_DIR) and lints the given paths (the bundled examples when given
# no argument at all). Extra tarn options pass through and tarn's exit status
# is the script's. A failed set-up or build prints its errors and ends with
# status 2, tarn's status for a failed run; nothing before tarn ends it with
# 1, which callers read as findings.
# shellcheck source=scripts/steps.sh
source "$(dirname "$0")/steps.sh" || exit 2
ROOT="$(cd "$(dirname "$0")/.." && pwd)"
# Not test.sh's variable: the two builds are configured differently.
resolved_dir TARN_BUILD_DIR "$ROOT/build"; BUILD_DIR=$REPLY
"$ROOT/scripts/setup-deps.sh" || exit 2
# The build's output appears only when it fails, so that tarn's report
# stands alone. Warnings never stop this build (test.sh keeps its own build
# directory, and only CI makes them errors), and it leaves the tests out, whose
# libraries only test.sh installs.
[[ -x "$BUILD_DIR/tarn" ]] || echo "$script_name: building tarn in $BUILD_DIR (the first build takes a while)" >&2
quietly "configuring $BUILD_DIR" cmake -S "$ROOT" -B "$BUILD_DIR" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DTARN_DEPS_DIR="$DEPS_DIR" -DTARN_WERROR=OFF -DTARN_TESTS=OFF
quietly "building tarn in $BUILD_DIR" cmake --build "$BUILD_DIR" --target tarn
if [[ $# -eq 0 ]]; then
  cd "$ROOT/examples" || exit 2
  exec "$BUILD_DIR/tarn" .
fi
exec "$BUILD_DIR/tarn" "$@"
