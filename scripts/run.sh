#!/bin/sh
# Sets up the machine, builds Verdel and starts it.
set -eu
cd "$(dirname "$0")/.."
scripts/setup.sh
scripts/build.sh

bin=build/bin
if [ -n "${DISPLAY:-}" ] || [ -n "${WAYLAND_DISPLAY:-}" ]; then
  exec "$bin/verdel"
fi

# No display: show what Verdel does with the batch tool instead.
sample="$bin/vdfiles/tree.vd"
out="$bin/output"
mkdir -p "$out"
echo "No display found, so Verdel's window cannot open here; running the batch tool on a sample instead."
"$bin/verdel-cli" stats --yes "$sample" | tee "$out/tree.stats.txt"
"$bin/verdel-cli" produce "$sample" > "$out/tree.production.txt"
"$bin/verdel-cli" dxf --yes "$sample" -o "$out/tree.dxf"
"$bin/verdel-cli" render --yes "$sample" -o "$out/tree.jpg" --mode texture --size 1024x768
echo "Results: $out/tree.stats.txt (model statistics), $out/tree.production.txt (production string),"
echo "$out/tree.dxf (the model) and $out/tree.jpg (a picture of it)."
