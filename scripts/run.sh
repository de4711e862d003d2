#!/usr/bin/env bash
# Builds Trelm Mail and its installer Setup.exe (x86_64, side by side in build/x86_64/bin) and starts Trelm Mail
# under Wine: on the user's display, or on a private Xvfb when there is none. Installs what is missing first. The
# Wine prefix used for running is build/x86_64/run (separate from the tests' one), so settings written there survive
# between runs.
#   scripts/run.sh          Trelm Mail from the build folder
#   scripts/run.sh setup    Setup.exe in a throw-away prefix (removed when Setup ends): install, run, uninstall
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
mode=${1:-}

scripts/setup-deps.sh
cmake -S . -B build/x86_64 -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/toolchain-x86_64-w64-mingw32.cmake \
    -DTRELM_OPENSSL_DIR="$(scripts/build-openssl.sh x86_64)" >/dev/null
cmake --build build/x86_64 --target TrelmMail Setup -j "$(nproc)"

run="$root/build/x86_64/run"
if [ "$mode" = setup ]; then
    run=$(mktemp -d "$root/build/x86_64/setup-run.XXXXXX")
fi
mkdir -p "$run/prefix" "$run/home"
export WINEPREFIX="$run/prefix" HOME="$run/home" WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"

xvfb_pid=
cleanup() {
    /usr/lib/wine/wineserver64 -k >/dev/null 2>&1 || true
    [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
    if [ "$mode" = setup ]; then rm -rf "$run"; fi
}
trap cleanup EXIT
trap 'exit 130' INT TERM
if [ -z "${DISPLAY:-}" ]; then
    rm -f "$run/display"
    Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$run/display" </dev/null >/dev/null 2>&1 &
    xvfb_pid=$!
    for _ in $(seq 100); do [ -s "$run/display" ] && break; sleep 0.1; done
    export DISPLAY=":$(tr -d '\n' <"$run/display")"
    echo "no display: Trelm Mail runs on the virtual display $DISPLAY (end it with Ctrl+C)"
fi

# A new prefix is set up quietly first, so the program's own window is the first thing that appears.
[ -f "$run/prefix/system.reg" ] || /usr/lib/wine/wine64 wineboot -i </dev/null >/dev/null 2>&1
cd build/x86_64/bin
if [ "$mode" = setup ]; then
    /usr/lib/wine/wine64 Setup.exe </dev/null
    # Setup ends at its last page while the program it started runs on: until that ends too.
    /usr/lib/wine/wineserver64 -w
else
    /usr/lib/wine/wine64 TrelmMail.exe </dev/null
fi
