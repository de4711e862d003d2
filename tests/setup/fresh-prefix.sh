#!/usr/bin/env bash
# Runs the installer's end-to-end test program in a fresh Wine prefix and HOME of its own under
# <build>/setup-e2e, on the display of lane 2 (the test holds that lane's lock): Setup finds no earlier
# installation, and what it writes (files, registry, shortcuts) stays in that prefix. Shortcuts make no desktop
# entries on the host (winemenubuilder is off, as in every session here). The prefix's http handler is the test's
# URL recorder, so that the maker's page opens nothing.
#   fresh-prefix.sh <build-dir> <url-recorder.exe> <program.exe> [arguments...]
set -euo pipefail
build=$(cd "${1:?usage: fresh-prefix.sh <build-dir> <recorder> <program> [args]}" && pwd)
recorder=${2:?recorder}
shift 2
lane="$build/wine2"
if [ ! -f "$lane/env" ]; then
    echo "no Wine session for this build: run scripts/wine-session.sh start $build" >&2
    exit 125
fi
# shellcheck source=/dev/null
. "$lane/env"
dir="$build/setup-e2e"
export WINEPREFIX="$dir/prefix" HOME="$dir/home"
wine=/usr/lib/wine/wine64
wineserver=/usr/lib/wine/wineserver64
"$wineserver" -k >/dev/null 2>&1 || true
rm -rf "$dir"
mkdir -p "$dir/prefix" "$dir/home"
"$wine" wineboot -i </dev/null >/dev/null 2>&1
"$wine" reg add 'HKCU\Software\Wine\X11 Driver' /v Decorated /d N /f </dev/null >/dev/null 2>&1
"$wine" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f </dev/null >/dev/null 2>&1
winrec="Z:${recorder//\//\\}"
for root in 'HKLM\Software\Classes' 'HKCU\Software\Classes'; do
    "$wine" reg add "$root\\http\\shell\\open\\command" /ve /d "\"$winrec\" %1" /f </dev/null >/dev/null 2>&1
done
rm -f "$(dirname "$recorder")/urls.log"
if [ -f "$build/bin/desktop_keeper.exe" ]; then
    "$wine" "$build/bin/desktop_keeper.exe" </dev/null >/dev/null 2>&1 &
fi
# As scripts/wine-run: the output goes through a file, so that a Wine service keeping the program's streams cannot
# hold ctest's pipe.
out=$(mktemp)
set +e
"$wine" "$@" >"$out" 2>&1 &
pid=$!
tail -n +1 -f --pid=$pid "$out" &
tailer=$!
wait $pid
rc=$?
wait $tailer
rm -f "$out"
"$wineserver" -k >/dev/null 2>&1
# The shortcuts Setup made stay inside the prefix: no menu or desktop entry was written for the host.
if find "$HOME" -name '*.desktop' 2>/dev/null | grep -q .; then
    echo "desktop entries were written under $HOME:" >&2
    find "$HOME" -name '*.desktop' >&2
    rc=1
fi
exit $rc
