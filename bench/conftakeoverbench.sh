#!/bin/sh
# Taking over a BIND 9 server of many zones beside BIND's own reading of the same files: a named.conf of ZONES
# primary zones (each with a small zone file), then, in turn and RUNS times each,
#  - named-checkconf -z (BIND reads the configuration and loads every zone),
#  - named-checkconf -p (BIND reads and prints it, what the takeover starts from),
#  - quorvane-cli server add-bind9 (the whole takeover, in a settings folder of its own each time).
# Target: the takeover of 10,000 zones under 1 s. Medians of wall-clock time.
# Usage: bench/conftakeoverbench.sh BUILD_DIR [ZONES] [RUNS]
set -eu
build=${1:?usage: conftakeoverbench.sh BUILD_DIR [ZONES] [RUNS]}
zones=${2:-10000}
runs=${3:-7}
cli="$build/bin/quorvane-cli"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/conf" "$work/data"
{
    printf 'options {\n\tdirectory "%s";\n\trecursion no;\n\tdnssec-validation no;\n\tnotify no;\n};\n' "$work/data"
    i=0
    while [ "$i" -lt "$zones" ]; do
        printf 'zone "z%d.example" {\n\ttype primary;\n\tfile "z%d.example.db";\n};\n' "$i" "$i"
        i=$((i + 1))
    done
} > "$work/conf/named.conf"
i=0
while [ "$i" -lt "$zones" ]; do
    printf '$TTL 3600\n@ IN SOA ns1.z%d.example. h.z%d.example. 1 3600 900 604800 300\n@ IN NS ns1.z%d.example.\nns1 IN A 192.0.2.1\n' \
        "$i" "$i" "$i" > "$work/data/z$i.example.db"
    i=$((i + 1))
done

ms() {
    start=$(date +%s%N)
    "$@" > /dev/null 2>&1 || { echo "failed: $*" >&2; exit 1; }
    end=$(date +%s%N)
    echo $(((end - start) / 1000000))
}
median() { sort -n "$1" | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }

run=0
while [ "$run" -lt "$runs" ]; do
    (cd "$work/conf" && ms named-checkconf -z named.conf) >> "$work/checkz"
    (cd "$work/conf" && ms named-checkconf -p named.conf) >> "$work/checkp"
    rm -rf "$work/home"
    XDG_CONFIG_HOME="$work/home/config" XDG_DATA_HOME="$work/home/data" \
        ms "$cli" server add-bind9 bench "$work/conf/named.conf" >> "$work/takeover"
    run=$((run + 1))
done
echo "$zones zones, medians of $runs runs:"
echo "  named-checkconf -z:        $(median "$work/checkz") ms"
echo "  named-checkconf -p:        $(median "$work/checkp") ms"
echo "  quorvane-cli add-bind9:    $(median "$work/takeover") ms (target < 1000)"
