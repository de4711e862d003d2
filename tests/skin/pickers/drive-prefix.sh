#!/usr/bin/env bash
# Runs a test program in a Wine prefix of its own whose drives the drive cases expect: a: a floppy, c: labelled
# "Data" (its .windows-label), d: a CD-ROM without a label, z: fixed, and no other letter. The prefix lives under
# <build>/wine-drives and is made once; it borrows the display of lane 1 (the test holds that display's lock) and
# runs its own wineserver, stopped at the end by the prefix's own `wineserver -k`.
# The program sees TRELM_DRIVE_PREFIX=1.
#   drive-prefix.sh <build-dir> <program.exe> [arguments...]
set -euo pipefail
build=$(cd "${1:?usage: drive-prefix.sh <build-dir> <program> [args]}" && pwd)
shift
lane="$build/wine"
if [ ! -f "$lane/env" ]; then
    echo "no Wine session for this build: run scripts/wine-session.sh start $build" >&2
    exit 125
fi
# shellcheck source=/dev/null
. "$lane/env"
dir="$build/wine-drives"
export WINEPREFIX="$dir/prefix" HOME="$dir/home"
wine=/usr/lib/wine/wine64
wineserver=/usr/lib/wine/wineserver64
if [ ! -f "$dir/ready" ]; then
    rm -rf "$dir"
    mkdir -p "$dir/prefix" "$dir/home" "$dir/floppy" "$dir/cdrom"
    "$wine" wineboot -i </dev/null >/dev/null 2>&1
    "$wine" reg add 'HKCU\Software\Wine\X11 Driver' /v Decorated /d N /f </dev/null >/dev/null 2>&1
    "$wine" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f </dev/null >/dev/null 2>&1
    "$wine" reg add 'HKLM\Software\Wine\Drives' /v a: /d floppy /f </dev/null >/dev/null 2>&1
    "$wine" reg add 'HKLM\Software\Wine\Drives' /v c: /d hd /f </dev/null >/dev/null 2>&1
    "$wine" reg add 'HKLM\Software\Wine\Drives' /v d: /d cdrom /f </dev/null >/dev/null 2>&1
    "$wine" reg add 'HKLM\Software\Wine\Drives' /v z: /d hd /f </dev/null >/dev/null 2>&1
    "$wineserver" -w
    touch "$dir/ready"
fi
# The drive letters, set again on every run (a program or wineboot may have added others).
dos="$WINEPREFIX/dosdevices"
for link in "$dos"/?:; do
    case "$(basename "$link")" in a: | c: | d: | z:) ;; *) rm -f "$link" ;; esac
done
rm -f "$dos"/a: "$dos"/d: "$dos"/a:: "$dos"/d::
ln -s "$dir/floppy" "$dos/a:"
ln -s "$dir/cdrom" "$dos/d:"
[ -e "$dos/z:" ] || ln -s / "$dos/z:"
printf 'Data\n' >"$WINEPREFIX/drive_c/.windows-label"
rm -f "$dir/cdrom/.windows-label"
# As scripts/wine-run: the output goes through a file, so that a Wine service keeping the program's streams cannot
# hold ctest's pipe.
export TRELM_DRIVE_PREFIX=1
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
exit $rc
