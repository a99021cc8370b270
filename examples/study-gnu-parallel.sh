#!/usr/bin/env bash
# A design study split into 4 parts run side by side with GNU parallel on one
# machine; the parts, put together in order, are exactly one run's output.
#   examples/study-gnu-parallel.sh [parts]
set -euo pipefail
parts="${1:-4}"
study=(calc-l examples/sign-post-sand.case --vary "H=1:20:0.01" --vary "layer 1.phi=28:36:2" --jobs 1)
seq 1 "$parts" | parallel --keep-order "latcap-batch ${study[*]@Q} --shard {}/$parts > study-part-{}.csv"
for part in $(seq 1 "$parts"); do cat "study-part-$part.csv"; done > study.csv
rm -f study-part-*.csv
echo "study.csv: $(($(wc -l < study.csv) - 1)) rows"
