#!/bin/sh
# Writes every output the batch tool makes of the bundled samples into one folder:
# productions, DXF files, frames in the three modes (BMP, several sizes), random
# and mutated definitions from fixed seeds, and mesh exports. Two runs of the same
# build, or of two builds that must agree, are compared with `diff -r`.
#   scripts/golden.sh OUTDIR [BINDIR]
set -eu
out=$1
bin=${2:-build/bin}
cli="$bin/verdel-cli"
mkdir -p "$out"
for vd in "$bin"/vdfiles/*.vd; do
  name=$(basename "$vd" .vd)
  case "$name" in forest) big=1 ;; *) big=0 ;; esac
  "$cli" produce --yes "$vd" > "$out/$name.prod" 2>&1 || echo "exit $?" >> "$out/$name.prod"
  "$cli" dxf --yes "$vd" -o "$out/$name.dxf" > "$out/$name.dxf.log" 2>&1 || echo "exit $?" >> "$out/$name.dxf.log"
  for mode in wireframe solid texture; do
    for size in 800x600 333x217; do
      [ "$big" = 1 ] && [ "$size" != 800x600 ] && continue
      "$cli" render --yes "$vd" -o "$out/$name.$mode.$size.bmp" --mode "$mode" --size "$size" \
        --turn=-90,0,0 > "$out/$name.$mode.$size.log" 2>&1 || echo "exit $?" >> "$out/$name.$mode.$size.log"
    done
  done
  [ "$big" = 1 ] && continue
  for seed in 1 7; do
    "$cli" mutate "$vd" --seed "$seed" --times 3 --bar radiation=6 > "$out/$name.mutate$seed.vd" 2>&1 || true
  done
done
for seed in 1 2 3 42 4711; do
  "$cli" random --seed "$seed" -o "$out/random$seed.vd" > /dev/null 2>&1 || true
  "$cli" random --seed "$seed" --bar rules=6 --lock iterations=4 -o "$out/random$seed.b.vd" > /dev/null 2>&1 || true
done
