#!/bin/sh
# Configures and builds Verdel into build/ (Release, Ninja); ccache speeds
# rebuilds where it is installed.
set -eu
cd "$(dirname "$0")/.."
launcher=""
# Paths relative to the checkout let ccache share results between checkouts.
export CCACHE_BASEDIR="$(pwd)"
if command -v ccache >/dev/null 2>&1; then launcher="-DCMAKE_CXX_COMPILER_LAUNCHER=ccache"; fi
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release $launcher >/dev/null
cmake --build build
