#!/bin/sh
# Configures and builds Verdel; ccache speeds rebuilds where it is installed.
#   scripts/build.sh                    Release build in build/
#   scripts/build.sh asan [TARGET...]   the core, the batch tool and their tests with AddressSanitizer
#                                       and UndefinedBehaviorSanitizer (every undefined behaviour aborts)
#                                       in build-asan/, no benchmarks; with clang 14 present it is built
#                                       with clang and holds the libFuzzer targets too (fuzz_dxf, ...);
#                                       VERDEL_SANITIZE_GUI=ON adds the windows and their tests
#   scripts/build.sh tsan               the batch tool and the tests of the core's threads (test_threads)
#                                       with ThreadSanitizer in build-tsan/, built with GCC
set -eu
cd "$(dirname "$0")/.."
launcher=""
# Paths relative to the checkout let ccache share results between checkouts.
export CCACHE_BASEDIR="$(pwd)"
if command -v ccache >/dev/null 2>&1; then launcher="-DCMAKE_CXX_COMPILER_LAUNCHER=ccache"; fi
case "${1:-}" in
"")
  cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release $launcher >/dev/null
  cmake --build build
  ;;
asan)
  shift
  compilers=""
  if command -v clang++-14 >/dev/null 2>&1; then
    compilers="-DCMAKE_CXX_COMPILER=clang++-14"
  fi
  # -O1 keeps the instrumented tests quick without the compile time of -O2;
  # -g1 gives the sanitizers' reports file and line.
  cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug "-DCMAKE_CXX_FLAGS_DEBUG=-O1 -g1" \
    -DVERDEL_SANITIZE=ON "-DVERDEL_SANITIZE_GUI=${VERDEL_SANITIZE_GUI:-OFF}" $compilers $launcher >/dev/null
  if [ $# -eq 0 ]; then
    cmake --build build-asan
  else
    cmake --build build-asan --target "$@"
  fi
  ;;
tsan)
  # Only what runs threads is built: the core, the batch tool and test_threads.
  cmake -S . -B build-tsan -G Ninja -DCMAKE_BUILD_TYPE=Debug "-DCMAKE_CXX_FLAGS_DEBUG=-O1 -g1" -DVERDEL_TSAN=ON \
    $launcher >/dev/null
  cmake --build build-tsan --target verdel-cli test_threads
  ;;
*)
  echo "usage: scripts/build.sh [asan [TARGET...] | tsan]" >&2
  exit 2
  ;;
esac
