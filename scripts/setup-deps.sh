#!/usr/bin/env bash
# Installs everything the build and the tests need on a Debian 12 machine (run as root), then builds OpenSSL for
# both architectures unless it is cached. Quiet and quick when all is already there.
set -euo pipefail

packages=(
    cmake ninja-build make perl dpkg-dev
    g++-mingw-w64-x86-64-posix g++-mingw-w64-i686-posix libz-mingw-w64-dev
    googletest
    wine64 xvfb xauth fonts-wine fonts-liberation
    dovecot-core dovecot-imapd openssl python3 python3-pil
)

sudo=; [ "$(id -u)" -eq 0 ] || sudo=sudo
missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
    echo "installing: ${missing[*]}"
    $sudo apt-get update -qq
    $sudo env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi

here=$(cd "$(dirname "$0")" && pwd)
for arch in x86_64 i686; do
    "$here/build-openssl.sh" "$arch" >/dev/null
done
