#!/bin/sh
# Runs one fuzz target (clang's libFuzzer with AddressSanitizer and
# UndefinedBehaviorSanitizer) for a number of seconds:
#   scripts/fuzz.sh TARGET SECONDS     TARGET: generation, dxf, texture, rtf, settings, mesh or rewriting
# It builds the target in the sanitizer build (build-asan/, scripts/build.sh
# asan) unless VERDEL_FUZZ_BUILT is set, and starts from
# tests/fuzz/corpus/TARGET and tests/fuzz/regressions/TARGET; new inputs go to
# build-asan/fuzz-corpus/TARGET, a failing input to build-asan/findings/TARGET/
# (keep it in tests/fuzz/regressions/TARGET/, named after its fault). Exits
# non-zero when the target failed. With VERDEL_BUILD_LOCK set, the build step
# runs under that flock(1) lock.
set -eu
cd "$(dirname "$0")/.."
if [ $# -ne 2 ]; then
  echo "usage: scripts/fuzz.sh generation|dxf|texture|rtf|settings|mesh|rewriting SECONDS" >&2
  exit 2
fi
target=$1
seconds=$2
case "$target" in
generation | dxf | texture | rtf | settings | mesh | rewriting) ;;
*)
  echo "fuzz: unknown target '$target' (generation, dxf, texture, rtf, settings, mesh, rewriting)" >&2
  exit 2
  ;;
esac
if ! command -v clang++-14 >/dev/null 2>&1; then
  echo "fuzz: clang++-14 is not installed (scripts/setup.sh installs it)" >&2
  exit 1
fi

if [ -z "${VERDEL_FUZZ_BUILT:-}" ]; then
  if [ -n "${VERDEL_BUILD_LOCK:-}" ]; then
    flock "$VERDEL_BUILD_LOCK" scripts/build.sh asan "fuzz_$target"
  else
    scripts/build.sh asan "fuzz_$target"
  fi
fi

seeds="tests/fuzz/corpus/$target"
if [ -d "tests/fuzz/regressions/$target" ]; then seeds="$seeds tests/fuzz/regressions/$target"; fi
mkdir -p "build-asan/fuzz-corpus/$target" "build-asan/findings/$target"
# One input may take at most 10 s (a hang is a finding) and 2 GB; rewriting
# has to end within 2 s and 512 MB in the release build, which under the
# sanitizers is about 1 GB. Instrumented rewriting runs 20 to 30 times
# slower than the release build (0.14 s there, 4 s here, for a string that
# grows by one character a step for 2,000,000 steps), and more on a loaded
# machine, so its time limit here is 30 s (the release build's replay_rewriting
# replays the kept inputs, build-asan/fuzz-corpus/rewriting, to check the bound).
timeout=10
memory=2048
if [ "$target" = rewriting ]; then
  timeout=30
  memory=1024
fi
exec "build-asan/bin/fuzz_$target" -max_total_time="$seconds" -timeout="$timeout" -rss_limit_mb="$memory" \
  -artifact_prefix="build-asan/findings/$target/" -print_final_stats=1 "build-asan/fuzz-corpus/$target" $seeds
