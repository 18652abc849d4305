#!/usr/bin/env bash
# Builds the Debian package from the build and checks what it holds and what lintian says of it.
# Usage: check_package.sh BUILD_DIR
set -euo pipefail
build=$1
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

cpack -G DEB -B "$tmp" --config "$build/CPackConfig.cmake" >"$tmp/cpack.log" 2>&1 || { cat "$tmp/cpack.log"; fail cpack; }
package=$(ls "$tmp"/quorvane_*.deb)
contents=$(dpkg-deb -c "$package" | awk '{print $6}')
for file in ./usr/bin/quorvane ./usr/bin/quorvane-cli ./usr/bin/quorvane-ndc ./usr/libexec/quorvane/quorvane-nsbatch \
            ./usr/share/applications/com.mervale.Quorvane.desktop \
            ./usr/share/icons/hicolor/scalable/apps/com.mervale.Quorvane.svg \
            ./usr/share/icons/hicolor/48x48/apps/com.mervale.Quorvane.png \
            ./usr/share/man/man1/quorvane.1.gz ./usr/share/man/man1/quorvane-cli.1.gz \
            ./usr/share/man/man1/quorvane-ndc.1.gz; do
    grep -qxF "$file" <<<"$contents" || fail "$file is not in the package"
done
depends=$(dpkg-deb -f "$package" Depends)
grep -q 'libqt6widgets6' <<<"$depends" || fail "run-time dependencies not computed"
# Loaded at run time, not linked: named by the packaging rather than found by the scan.
grep -q 'libgit2-' <<<"$depends" || fail "libgit2 is not a dependency"
grep -q 'libcurl' <<<"$depends" || fail "libcurl is not a dependency"
dpkg-deb -f "$package" Recommends | grep -q 'bind9-utils' || fail "no recommendations"
# Lintian refuses running as root unless told; errors fail the check, warnings are reported.
lintian --allow-root --fail-on error --tag-display-limit 0 "$package" | tee "$tmp/lintian.log"
echo "package $(basename "$package") checked"
