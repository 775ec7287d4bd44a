#!/bin/sh
# Sets up the machine, builds Verdel and runs every test; then builds the same
# tests with AddressSanitizer and UndefinedBehaviorSanitizer (build-asan/) and
# runs them, and runs each fuzz target for 30 s when clang is present. The
# builds run one after another; with VERDEL_BUILD_LOCK set, each holds that
# flock(1) lock (for machines shared with other builds).
set -eu
cd "$(dirname "$0")/.."

locked() {
  if [ -z "${VERDEL_BUILD_LOCK:-}" ]; then
    "$@"
    return
  fi
  flock "$VERDEL_BUILD_LOCK" sh -c 'echo "build lock taken at $(date +%T)"; exec "$@"' sh "$@"
}
stamp() { echo "test.sh: $1 at $(date +%T)"; }

scripts/setup.sh
stamp "release build"
locked scripts/build.sh
stamp "release tests"
ctest --test-dir build --output-on-failure --no-tests=error --timeout 600 -j2

stamp "sanitizer build"
locked scripts/build.sh asan
stamp "sanitizer tests"
# Leaks are not checked: Qt and fontconfig keep caches until exit.
ASAN_OPTIONS=detect_leaks=0:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1 \
  ctest --test-dir build-asan --output-on-failure --no-tests=error --timeout 900 -j2

if command -v clang++-14 >/dev/null 2>&1; then
  for target in generation dxf texture rtf settings; do
    stamp "fuzzing $target"
    scripts/fuzz.sh "$target" 30
  done
else
  echo "test.sh: clang++-14 not found, fuzz targets not run"
fi
stamp "done"
