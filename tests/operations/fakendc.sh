#!/bin/sh
# Stands in for the name server's control program in the tests: it records its arguments, one run per line, and
# the server its environment names; it fails on request, and writes the database dump and the statistics where a
# name server on an NT-family machine writes them.
log="${FAKE_NDC_LOG:?}"
for arg in "$@"; do
    printf '[%s]' "$arg" >> "$log"
done
printf '\n' >> "$log"
printf '%s %s' "$QUORVANE_BOOT_FILE" "$QUORVANE_SERVER" > "$log.environment"
if [ -n "$FAKE_NDC_FAIL" ]; then
    printf 'rndc: connect failed\n%s\n\n' "$FAKE_NDC_FAIL" >&2
    exit 3
fi
if [ -n "$FAKE_NDC_SLEEP" ]; then
    sleep "$FAKE_NDC_SLEEP"
fi
case "$1" in
DUMPDB)
    printf '; Dumped for %s\r\n$ORIGIN example.com.\r\nwww\t3600\tIN\tA\t10.0.0.1\r\n' "$2" \
        > "$FAKE_NDC_WINDIR/system32/namdump.db" ;;
STATS)
    printf '+++ Statistics Dump +++ (%s)\r\n7\tA queries\r\n' "$2" > "$FAKE_NDC_WINDIR/system32/named.sts" ;;
esac
exit 0
