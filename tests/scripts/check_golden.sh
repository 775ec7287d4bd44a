#!/bin/bash
# Runs scripts/golden.sh and compares the SHA-256 of every output with the
# manifest: an output whose bytes moved, or that appeared or went missing,
# fails the check by name. With --update the manifest is written instead.
#   check_golden.sh BINDIR MANIFEST [--update]
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
bin=$(cd "$1" && pwd)
manifest=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
sh "$root/scripts/golden.sh" "$work/out" "$bin"
(cd "$work/out" && sha256sum -- * | sort -k 2) > "$work/sums"
if [ "${3:-}" = --update ]; then
  cp "$work/sums" "$manifest"
  echo "golden: $(wc -l < "$manifest") outputs written to $manifest"
  exit 0
fi
moved=$(join -1 2 -2 2 -a 1 -a 2 -e missing -o 0,1.1,2.1 <(sort -k 2 "$manifest") "$work/sums" |
        awk '$2 != $3 { print "  " $1 ($2 == "missing" ? " (new)" : $3 == "missing" ? " (missing)" : "") }')
if [ -n "$moved" ]; then
  echo "golden: these outputs differ from $manifest:"
  echo "$moved"
  exit 1
fi
echo "golden: all $(wc -l < "$manifest") outputs match"
