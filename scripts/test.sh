#!/bin/sh
# Sets up the machine, builds Verdel and runs every test; then builds the
# batch tool and the tests of the core's threads with ThreadSanitizer
# (build-tsan/) and runs them, any race failing the run; then builds the
# core, the batch tool and their tests with AddressSanitizer and
# UndefinedBehaviorSanitizer (build-asan/, with clang 14 when present) and
# runs them, and runs each fuzz target of that build for 30 s, two at a time. The builds run one after another; with
# VERDEL_BUILD_LOCK set, each holds that flock(1) lock (for machines shared
# with other builds).
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

# Runs the fuzz targets named, two at a time (one per core of the machines
# this runs on), each for 30 s; prints each run's summary, and the whole log
# of a run that failed. Fails when one did.
fuzz_all() {
  logs=build-asan/fuzz-logs
  rm -rf "$logs"
  mkdir -p "$logs"
  failed=""
  while [ $# -gt 0 ]; do
    runs=""
    for target in "$1" "${2:-}"; do
      [ -n "$target" ] || continue
      VERDEL_FUZZ_BUILT=1 scripts/fuzz.sh "$target" 30 >"$logs/$target.log" 2>&1 &
      runs="$runs $!:$target"
    done
    shift
    if [ $# -gt 0 ]; then shift; fi
    for run in $runs; do wait "${run%%:*}" || failed="$failed ${run#*:}"; done
  done
  for log in "$logs"/*.log; do
    echo "--- $(basename "$log" .log): $(grep -E '^(Done|stat::number_of_executed_units)' "$log" | tr '\n' ' ')"
  done
  for target in $failed; do
    echo "fuzz target $target failed:" >&2
    cat "$logs/$target.log" >&2
  done
  [ -z "$failed" ]
}

scripts/setup.sh
# The set-up installs every outside checker: a test missing one fails here.
export VERDEL_REQUIRE_ORACLES=1
stamp "release build"
locked scripts/build.sh
stamp "release tests"
ctest --test-dir build --output-on-failure --no-tests=error --timeout 600 -j2

stamp "thread sanitizer build"
locked scripts/build.sh tsan
stamp "thread sanitizer tests"
# A race ends the test at once with the report. GCC's runtime needs the
# address space laid out without randomisation on some kernels. Every sample
# in every size (a minute under the sanitizer) is left to the Release run:
# the renderer's pool is drawn through by the random scenes and the other frames.
TSAN_OPTIONS="halt_on_error=1 second_deadlock_stack=1" setarch "$(uname -m)" -R \
  ctest --test-dir build-tsan --output-on-failure --no-tests=error --timeout 900 -j2 \
  -E EverySampleInEveryModeAndSize

stamp "sanitizer build"
locked scripts/build.sh asan
stamp "sanitizer tests"
# Leaks are not checked: Qt and fontconfig keep caches until exit.
export ASAN_OPTIONS=detect_leaks=0:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1
ctest --test-dir build-asan --output-on-failure --no-tests=error --timeout 900 -j2

if [ -x build-asan/bin/fuzz_generation ]; then
  stamp "fuzzing"
  fuzz_all generation dxf texture rtf settings mesh rewriting
else
  echo "test.sh: clang++-14 not found, fuzz targets not run"
fi
stamp "done"
