#!/bin/sh
# Builds the fuzz targets with clang's libFuzzer, AddressSanitizer and
# UndefinedBehaviorSanitizer (only the core and the targets, in build-fuzz/)
# and runs one of them for a number of seconds:
#   scripts/fuzz.sh TARGET SECONDS     TARGET: generation, dxf, texture, rtf or settings
# It starts from tests/fuzz/corpus/TARGET and tests/fuzz/regressions/TARGET;
# new inputs go to build-fuzz/corpus/TARGET, a failing input to
# build-fuzz/findings/TARGET/ (keep it in tests/fuzz/regressions/TARGET/,
# named after its fault). Exits non-zero when the target failed.
# With VERDEL_BUILD_LOCK set, the build step runs under that flock(1) lock.
set -eu
cd "$(dirname "$0")/.."
if [ $# -ne 2 ]; then
  echo "usage: scripts/fuzz.sh generation|dxf|texture|rtf|settings SECONDS" >&2
  exit 2
fi
target=$1
seconds=$2
case "$target" in
generation | dxf | texture | rtf | settings) ;;
*)
  echo "fuzz: unknown target '$target' (generation, dxf, texture, rtf, settings)" >&2
  exit 2
  ;;
esac
if ! command -v clang++-14 >/dev/null 2>&1; then
  echo "fuzz: clang++-14 is not installed (scripts/setup.sh installs it)" >&2
  exit 1
fi

locked() {
  if [ -z "${VERDEL_BUILD_LOCK:-}" ]; then
    "$@"
    return
  fi
  flock "$VERDEL_BUILD_LOCK" sh -c 'echo "build lock taken at $(date +%T)"; exec "$@"' sh "$@"
}

launcher=""
export CCACHE_BASEDIR="$(pwd)"
if command -v ccache >/dev/null 2>&1; then launcher="-DCMAKE_CXX_COMPILER_LAUNCHER=ccache"; fi
CC=clang-14 CXX=clang++-14 locked cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DVERDEL_FUZZ=ON $launcher >/dev/null
locked cmake --build build-fuzz --target "fuzz_$target"

seeds="tests/fuzz/corpus/$target"
if [ -d "tests/fuzz/regressions/$target" ]; then seeds="$seeds tests/fuzz/regressions/$target"; fi
mkdir -p "build-fuzz/corpus/$target" "build-fuzz/findings/$target"
# One input may take at most 10 s (a hang is a finding) and 2 GB.
exec "build-fuzz/bin/fuzz_$target" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
  -artifact_prefix="build-fuzz/findings/$target/" -print_final_stats=1 "build-fuzz/corpus/$target" $seeds
