#!/bin/sh
# Configures and builds Verdel into build/ (Release, Ninja).
set -eu
cd "$(dirname "$0")/.."
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build
