#!/bin/sh
# Sets up the machine, builds Verdel and starts it.
set -eu
cd "$(dirname "$0")/.."
scripts/setup.sh
scripts/build.sh

bin=build/bin
sample="$bin/vdfiles/tree.vd"
out="$bin/output"
mkdir -p "$out"
echo "Generating the bundled sample $sample with the batch tool..."
"$bin/verdel-cli" stats --yes "$sample" | tee "$out/tree.stats.txt"
"$bin/verdel-cli" produce "$sample" > "$out/tree.production.txt"
echo "Results: $out/tree.stats.txt (model statistics) and $out/tree.production.txt (production string)."
