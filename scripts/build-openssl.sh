#!/usr/bin/env bash
# Cross-builds OpenSSL's libcrypto and libssl as Windows DLLs from Debian's own source package and caches the
# result outside the tree, so only the first run pays. Prints the cache folder of the requested architecture.
#
#   scripts/build-openssl.sh x86_64|i686
#
# The cache holds include/ (headers) and bin/ (the two DLLs), one folder per OpenSSL version, architecture and set
# of Configure flags. A failed build prints the end of its log. Debian has no MinGW build of OpenSSL.
set -euo pipefail

arch=${1:?usage: build-openssl.sh x86_64|i686}
case "$arch" in
    x86_64) target=mingw64; prefix=x86_64-w64-mingw32-; extra= ;;
    # The 32-bit assembly comes out position-independent, which the COFF assembler cannot represent.
    i686)   target=mingw;   prefix=i686-w64-mingw32-; extra=no-asm ;;
    *) echo "unknown architecture: $arch" >&2; exit 2 ;;
esac

# Only what a TLS 1.2/1.3 client needs; no apps, tests, engines or legacy ciphers.
configure_args=("$target" shared no-tests no-legacy no-engine no-comp no-dtls no-srp no-ct
    no-ocsp no-cms no-ts no-idea no-rc2 no-rc4 no-rc5 no-bf no-cast no-camellia no-seed no-sm2 no-sm3
    no-sm4 no-whirlpool no-md4 no-mdc2 no-aria no-siphash no-scrypt no-psk no-srtp no-weak-ssl-ciphers
    no-ssl3 no-ui-console no-dso no-async $extra --cross-compile-prefix="$prefix")
# The cache is keyed on these flags as well as on the version: other flags build into another folder.
key=$(printf '%s\n' "${configure_args[@]}" | sha256sum | cut -c1-12)

sudo=; [ "$(id -u)" -eq 0 ] || sudo=sudo
cache_root=${TRELM_CACHE:-$HOME/.cache/trelm}
src_root="$cache_root/openssl-src"
mkdir -p "$cache_root"

# The version is the one of Debian's source package; read it from the unpacked tree once it is there.
find_src() { find "$src_root" -maxdepth 1 -mindepth 1 -type d -name 'openssl-*' 2>/dev/null | sort | tail -n 1 || true; }

src=$(find_src)
if [ -z "$src" ]; then
    # apt-get source needs a deb-src entry; add one for the mirror that is already configured when none exists.
    if ! grep -rqsE '^(deb-src|Types:.*deb-src)' /etc/apt/sources.list /etc/apt/sources.list.d/; then
        if [ -f /etc/apt/sources.list.d/debian.sources ]; then
            sed -E 's/^Types:.*/Types: deb-src/' /etc/apt/sources.list.d/debian.sources \
                | $sudo tee /etc/apt/sources.list.d/trelm-deb-src.sources >/dev/null
        else
            grep -hE '^deb ' /etc/apt/sources.list /etc/apt/sources.list.d/*.list 2>/dev/null \
                | sed 's/^deb /deb-src /' | $sudo tee /etc/apt/sources.list.d/trelm-deb-src.list >/dev/null
        fi
        $sudo apt-get update -qq >/dev/null
    fi
    rm -rf "$src_root.tmp"; mkdir -p "$src_root.tmp"
    # A mirror's index can name a version its pool no longer serves: try the known versions, newest first.
    fetched=
    for v in $(apt-cache showsrc openssl 2>/dev/null | sed -n 's/^Version: //p' | sort -rVu); do
        if (cd "$src_root.tmp" && apt-get source -qq "openssl=$v" >/dev/null 2>&1); then fetched=$v; break; fi
        rm -rf "${src_root:?}.tmp"/*
    done
    [ -n "$fetched" ] || { echo "apt-get source openssl failed" >&2; exit 1; }
    mkdir -p "$src_root"
    mv "$src_root.tmp"/openssl-*/ "$src_root"/
    rm -rf "$src_root.tmp"
    src=$(find_src)
fi
version=${src##*/openssl-}
out="$cache_root/openssl-$version-$arch-$key"
# Folders made before the cache had a key carry none in their name. They were built with the flags whose key is
# given here; they stay in use while the flags do not change, and are never touched otherwise.
case "$arch" in x86_64) legacy_key=09d1f1b7c0e9 ;; i686) legacy_key=2307799e07ee ;; esac
legacy="$cache_root/openssl-$version-$arch"
if [ ! -f "$out/.complete" ] && [ "$key" = "$legacy_key" ] && [ -f "$legacy/.complete" ]; then
    out=$legacy
fi

if [ ! -f "$out/.complete" ]; then
    build="$cache_root/build-openssl-$version-$arch-$key"
    log="$cache_root/build-openssl-$version-$arch-$key.log"
    rm -rf "$build" "$out"
    cp -a "$src" "$build"
    if ! (cd "$build" && ./Configure "${configure_args[@]}" && make -j"$(nproc)" build_libs) >"$log" 2>&1; then
        echo "OpenSSL build failed ($arch); the end of its log ($log):" >&2
        tail -n 40 "$log" >&2
        exit 1
    fi
    mkdir -p "$out/bin" "$out/include"
    cp "$build"/libcrypto-3*.dll "$build"/libssl-3*.dll "$out/bin/"
    "${prefix}strip" --strip-unneeded "$out"/bin/*.dll
    cp -a "$build/include/openssl" "$out/include/"
    printf '%s\n' "${configure_args[@]}" >"$out/configure-args"
    rm -rf "$build" "$log"
    touch "$out/.complete"
fi
echo "$out"
