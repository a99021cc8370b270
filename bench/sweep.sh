#!/usr/bin/env bash
# A study of 10^5 rows as latcap-batch computes it: rows per second on one
# thread and on every core, and the peak memory of CSV and of JSON output
# (flat: a sweep holds one block of rows at a time).
#   bench/sweep.sh [build folder]   (default build/release)
set -euo pipefail
cd "$(dirname "$0")/.."
batch="${1:-build/release}/bin/latcap-batch"
study=(calc-l examples/sign-post-sand.case --vary "H=1:100:0.001")
rows=99001
cores=$(nproc)
measure() { # label, rows, arguments...
  local label="$1" count="$2"
  shift 2
  local start end
  start=$(date +%s.%N)
  /usr/bin/time -f "%M" -o /tmp/latcap-sweep-memory "$batch" "${study[@]}" "$@" > /dev/null
  end=$(date +%s.%N)
  printf '%-24s %8.0f rows/s  %6d MB peak\n' "$label" "$(echo "$count / ($end - $start)" | bc -l)" \
    "$(($(cat /tmp/latcap-sweep-memory) / 1024))"
}
measure "--jobs 1" "$rows" --jobs 1
measure "--jobs $cores" "$rows" --jobs "$cores"
measure "--jobs $cores --json" "$rows" --jobs "$cores" --json
measure "--json, a tenth of the rows" $((rows / 10)) --jobs "$cores" --json --shard 1/10
