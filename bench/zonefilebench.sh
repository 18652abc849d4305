#!/bin/sh
# Reads and saves zones of 100,000 and 200,000 records with zonefilebench and checks the same files with
# named-checkzone. Prints each time, the ratio of ours to the checker's (at most 0.25 is the target) and how
# the time grows with twice the records (at most 2.2 is the target).
# Usage: bench/zonefilebench.sh BUILD_DIR   (configured with -DQUORVANE_BUILD_BENCH=ON)
set -eu
build=${1:?usage: zonefilebench.sh BUILD_DIR}
bench="$build/bench/zonefilebench"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# The median of five runs of named-checkzone on the file, in milliseconds.
checker_ms() {
    for run in 1 2 3 4 5; do
        start=$(date +%s%N)
        named-checkzone bench.example "$1" > /dev/null
        end=$(date +%s%N)
        echo $(( (end - start) / 1000 ))
    done | sort -n | sed -n 3p | awk '{ printf "%.1f", $1 / 1000 }'
}

ours_ms() {
    "$bench" "$work" "$1" 5 | awk '{ print $4 }'
}

small_ours=$(ours_ms 100000)
small_checker=$(checker_ms "$work/bench.dns")
large_ours=$(ours_ms 200000)
large_checker=$(checker_ms "$work/bench.dns")

awk -v so="$small_ours" -v sc="$small_checker" -v lo="$large_ours" -v lc="$large_checker" 'BEGIN {
    printf "100000 records: read+save %8.1f ms   named-checkzone %8.1f ms   ratio %.3f (target <= 0.25)\n", so, sc, so / sc
    printf "200000 records: read+save %8.1f ms   named-checkzone %8.1f ms   ratio %.3f (target <= 0.25)\n", lo, lc, lo / lc
    printf "growth for twice the records: %.2f (target <= 2.2)\n", lo / so
    exit (so / sc <= 0.25 && lo / lc <= 0.25 && lo / so <= 2.2) ? 0 : 1
}'
