#!/usr/bin/env bash
# Installs the build into a staging folder as a package would and uses the installed programs from there: they
# must find their helper, their help and their data by the installed layout alone, not by the build tree.
# Usage: check_install.sh BUILD_DIR SOURCE_DIR
set -euo pipefail
build=$1
source=$2
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

DESTDIR=$tmp/stage cmake --install "$build" --prefix /usr >"$tmp/install.log"
root=$tmp/stage/usr
app_id=com.mervale.Quorvane

for program in bin/quorvane bin/quorvane-cli bin/quorvane-ndc libexec/quorvane/quorvane-nsbatch; do
    [ -x "$root/$program" ] || fail "$program is not installed"
done
for file in share/applications/$app_id.desktop share/metainfo/$app_id.metainfo.xml \
            share/icons/hicolor/scalable/apps/$app_id.svg share/quorvane/help/quorvane.html \
            share/doc/quorvane/copyright share/doc/quorvane/changelog.gz; do
    [ -f "$root/$file" ] || fail "$file is not installed"
done
for size in 16 32 48 64 128 256; do
    [ -f "$root/share/icons/hicolor/${size}x${size}/apps/$app_id.png" ] || fail "no ${size}x${size} icon"
done

# The installed programs run on their own, with a settings store of the test's.
export XDG_CONFIG_HOME=$tmp/config XDG_DATA_HOME=$tmp/data HOME=$tmp/home
mkdir -p "$tmp/home" "$tmp/installed" "$tmp/built"
[ "$("$root/bin/quorvane-cli" --version)" = "Quorvane 2.0" ] || fail "quorvane-cli --version"
[ "$(QT_QPA_PLATFORM=offscreen "$root/bin/quorvane" --version)" = "Quorvane 2.0" ] || fail "quorvane --version"

# A zone saved by the installed program is the zone the build's own program saves, and the name server loads it.
zone="$source/tests/data/zone/cases/own-layout@example.com/input"
cp "$zone" "$tmp/installed/example.com.dns"
cp "$zone" "$tmp/built/example.com.dns"
"$root/bin/quorvane-cli" --serial 2026120701 zone save "$tmp/installed" example.com.dns example.com
"$build/bin/quorvane-cli" --serial 2026120701 zone save "$tmp/built" example.com.dns example.com
cmp "$tmp/installed/example.com.dns" "$tmp/built/example.com.dns" || fail "the installed zone save differs"
named-checkzone -q -k fail example.com "$tmp/installed/example.com.dns" || fail "named-checkzone refuses the zone"

paths=$("$root/bin/quorvane-cli" paths)
grep -qxF "help	$root/share/quorvane/help" <<<"$paths" || fail "help not found in the installed tree: $paths"
grep -qxF "quorvane-nsbatch	$root/libexec/quorvane/quorvane-nsbatch" <<<"$paths" ||
    fail "the zone-listing helper not found in the installed tree: $paths"
grep -qxF "quorvane-ndc	$root/bin/quorvane-ndc" <<<"$paths" ||
    fail "the control program not found in the installed tree: $paths"

desktop-file-validate "$root/share/applications/$app_id.desktop"
appstreamcli validate --no-net "$root/share/metainfo/$app_id.metainfo.xml" >"$tmp/appstream.log" ||
    { cat "$tmp/appstream.log"; fail "metainfo"; }

# Manual pages render without a warning, and the command line's page names every command it has.
for page in "$root"/share/man/man1/*.1.gz; do
    warnings=$(LC_ALL=C.UTF-8 MANROFFSEQ='' MANWIDTH=80 man --warnings -E UTF-8 -l "$page" 2>&1 >/dev/null)
    [ -z "$warnings" ] || fail "$(basename "$page"): $warnings"
done
manual=$(MANWIDTH=200 man -l "$root/share/man/man1/quorvane-cli.1.gz" 2>/dev/null)
"$root/bin/quorvane-cli" --help | sed -n '/^Commands:/,/^$/p' | grep -E '^  [a-z]' |
    while read -r line; do
        command=$(sed -E 's/ [A-Z].*//; s/ [a-z]+[|].*//' <<<"$line")
        grep -qF -- "$command" <<<"$manual" || fail "quorvane-cli.1 does not describe \"$command\""
    done
echo "installed layout checked"
