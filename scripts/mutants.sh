#!/bin/sh
# Mutation testing of the core (see scripts/mutants.py):
#   scripts/mutants.sh pick [N] [SEED]   fix N mutation sites in tests/data/mutant_sites.txt
#   scripts/mutants.sh run [FILTER [SKIP [COUNT]]]  run the mutants whose file names contain FILTER
#                                          (past the first SKIP of them, at most COUNT)
set -eu
exec python3 "$(dirname "$0")/mutants.py" "$@"
