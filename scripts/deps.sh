#!/usr/bin/env bash
# Installs the Debian packages a build (with "test", also the test peers; with "fuzz", clang and libFuzzer) needs;
# does nothing when all are there.
set -euo pipefail
packages=(build-essential cmake ninja-build pkgconf qt6-base-dev qt6-base-dev-tools libcurl4-openssl-dev libknot-dev
          libgit2-dev)
if [ "${1:-}" = fuzz ]; then
    packages+=(clang libclang-rt-14-dev)
fi
if [ "${1:-}" = test ]; then
    packages+=(bind9 bind9-utils bind9-dnsutils publicsuffix vsftpd python3-aiosmtpd poppler-utils openbsd-inetd
               fingerd finger iproute2 xauth xvfb fonts-dejavu-core dpkg-dev lintian desktop-file-utils appstream
               man-db git)
fi
missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0
sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
$sudo apt-get update -qq
$sudo env DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends "${missing[@]}"
