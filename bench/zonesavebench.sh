#!/bin/sh
# "zone save" of large and small zones beside the reference tools, whole processes, in one run:
#  - 1,000,000 records read and saved by quorvane-cli beside kzonecheck reading an LF copy of the same file
#    (target: at most 0.5 times its time), the peak memory per record above the program's start-up (target: at
#    most 250 bytes) and the growth from 100,000 to 1,000,000 records (target: at most 11 times);
#  - a zone of one record saved beside named-checkzone checking it (target: no slower).
# Times are medians of wall-clock time; processor times (user + system) are printed beside them.
# Usage: bench/zonesavebench.sh BUILD_DIR [RECORDS]   (configured with -DQUORVANE_BUILD_BENCH=ON)
set -eu
build=${1:?usage: zonesavebench.sh BUILD_DIR [RECORDS]}
records=${2:-1000000}
small=$((records / 10))
cli="$build/bin/quorvane-cli"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export XDG_CONFIG_HOME="$work/config" XDG_DATA_HOME="$work/data"

# Prints "wall cpu maxrss_kb" of one run of the command; the wall-clock time from a clock finer than time's
# hundredths, which the growth from the smaller zone needs.
measure() {
    start=$(date +%s%N)
    /usr/bin/time -f "%U %S %M" -o "$work/time" "$@" > /dev/null 2>&1 || { echo "failed: $*" >&2; exit 1; }
    end=$(date +%s%N)
    awk -v ns=$((end - start)) '{ printf "%.4f %.4f %d\n", ns / 1e9, $1 + $2, $3 }' "$work/time"
}

# The median of each column of the measurements in the file, as "wall cpu maxrss_kb".
medians() {
    for column in 1 2 3; do
        cut -d' ' -f"$column" "$1" | sort -g | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'
    done | paste -sd' '
}

# The median over RUNS runs of each column, as "wall cpu maxrss_kb".
median_of() {
    runs=$1
    shift
    for run in $(seq "$runs"); do measure "$@"; done > "$work/runs"
    medians "$work/runs"
}

save="$cli --serial 2026120800 zone save"

# Milliseconds of wall-clock time of one run of the command (finer than time's hundredths).
elapsed_ms() {
    start=$(date +%s%N)
    "$@" > /dev/null 2>&1 || { echo "failed: $*" >&2; exit 1; }
    end=$(date +%s%N)
    echo $(( (end - start) / 1000 )) | awk '{ printf "%.3f\n", $1 / 1000 }'
}

# Zone files in the program's layout, written by zonefilebench, and their LF copies for kzonecheck.
"$build/bench/zonefilebench" "$work" "$small" 1 > /dev/null
mkdir "$work/small" "$work/large"
mv "$work/bench.dns" "$work/small/bench.dns"
"$build/bench/zonefilebench" "$work" "$records" 1 > /dev/null
mv "$work/bench.dns" "$work/large/bench.dns"
tr -d '\r' < "$work/large/bench.dns" > "$work/large.lf"

startup=$(median_of 5 "$cli" --version | cut -d' ' -f3)
set -- $(median_of 5 $save "$work/small" bench.dns bench.example)
small_wall=$1 small_cpu=$2

# The large zone and its peer in turn, so that a change of load on the machine falls on both alike.
: > "$work/large.ours"
: > "$work/large.knot"
for run in $(seq 7); do
    measure $save "$work/large" bench.dns bench.example >> "$work/large.ours"
    if command -v kzonecheck > /dev/null; then
        measure kzonecheck -o bench.example "$work/large.lf" >> "$work/large.knot"
    fi
done
set -- $(medians "$work/large.ours")
large_wall=$1 large_cpu=$2 large_rss=$3
if command -v kzonecheck > /dev/null; then
    set -- $(medians "$work/large.knot")
    knot_wall=$1 knot_cpu=$2
else
    echo "kzonecheck not found (Debian package knot-dnssecutils): the comparison with it is skipped"
    knot_wall=0 knot_cpu=0
fi

# The one-record zone: written elsewhere, saved once into the program's layout.
mkdir "$work/one"
printf '$TTL 3600\n@ IN SOA ns1.one.example. hostmaster.one.example. ( 1 10800 3600 604800 86400 )\n@ IN NS ns1\nns1 IN A 10.0.0.1\n' \
    > "$work/one/one.dns"
$save "$work/one" one.dns one.example > /dev/null
# Both in turn, so that a change of load on the machine falls on both alike.
: > "$work/one.ours"
: > "$work/one.checker"
for run in $(seq 41); do
    elapsed_ms $save "$work/one" one.dns one.example >> "$work/one.ours"
    elapsed_ms named-checkzone one.example "$work/one/one.dns" >> "$work/one.checker"
done
one_ours=$(sort -g "$work/one.ours" | sed -n 21p)
one_checker=$(sort -g "$work/one.checker" | sed -n 21p)

echo "load average: $(cut -d' ' -f1-3 /proc/loadavg)"
awk -v n="$records" -v s="$small" -v lw="$large_wall" -v lc="$large_cpu" -v lr="$large_rss" -v st="$startup" \
    -v sw="$small_wall" -v sc="$small_cpu" -v kw="$knot_wall" -v kc="$knot_cpu" \
    -v ow="$one_ours" -v oc="$one_checker" 'BEGIN {
    ok = 1
    printf "%d records: zone save %.3f s (cpu %.3f s)", n, lw, lc
    if (kw > 0) {
        printf "   kzonecheck %.3f s (cpu %.3f s)   ratio %.2f (cpu %.2f; target <= 0.5)\n", kw, kc, lw / kw, lc / kc
        ok = ok && lw / kw <= 0.5
    } else {
        printf "\n"
    }
    perRecord = (lr - st) * 1024 / n
    printf "peak memory %.0f MB, start-up %.0f MB: %.0f bytes per record (target <= 250)\n", lr / 1024, st / 1024, perRecord
    ok = ok && perRecord <= 250
    printf "%d records: zone save %.3f s (cpu %.3f s)   growth for ten times the records %.2f (target <= 11)\n", s, sw, sc, lw / sw
    ok = ok && lw / sw <= 11
    printf "1 record: zone save %.1f ms   named-checkzone %.1f ms   ratio %.2f (target <= 1)\n", ow, oc, ow / oc
    ok = ok && ow <= oc
    exit ok ? 0 : 1
}'
