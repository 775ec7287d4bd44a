#!/bin/sh
# Sets up the machine, builds Verdel and runs every test.
set -eu
cd "$(dirname "$0")/.."
scripts/setup.sh
scripts/build.sh
ctest --test-dir build --output-on-failure --no-tests=error --timeout 600
