#!/usr/bin/env bash
# Private, warm Wine sessions for one build folder, one per display lane of the window tests: Xvfb (24-bit), a
# persistent wineserver and a fresh prefix each.
#
#   scripts/wine-session.sh start <build-dir>   start them (prints nothing on success)
#   scripts/wine-session.sh stop  <build-dir>   stop each Xvfb and wineserver by their own process ids
#
# Lane 1 lives under <build-dir>/wine, lane 2 under <build-dir>/wine2: the prefix, a HOME (Wine's user folders link
# into it), the pid files and "env", which scripts/wine-run sources before each program. The two share nothing, so a
# window test of one lane never sees the windows, focus or cursor of the other. Background services get /dev/null
# as their standard streams: a Wine service holding ctest's pipes would keep ctest waiting for ever.
set -euo pipefail

cmd=${1:?usage: wine-session.sh start|stop <build-dir>}
build=$(cd "${2:?usage: wine-session.sh start|stop <build-dir>}" && pwd)
wine=/usr/lib/wine/wine64
wineserver=/usr/lib/wine/wineserver64

stop_session() {  # <session dir>
    local dir=$1 name pid
    if [ -f "$dir/env" ]; then
        # shellcheck source=/dev/null
        (. "$dir/env" && "$wineserver" -k >/dev/null 2>&1) || true
    fi
    for name in wineserver xvfb; do
        if [ -f "$dir/$name.pid" ]; then
            pid=$(cat "$dir/$name.pid")
            kill "$pid" 2>/dev/null || true
            for _ in $(seq 50); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
            kill -9 "$pid" 2>/dev/null || true
            rm -f "$dir/$name.pid"
        fi
    done
    rm -f "$dir/env"
}

start_session() {  # <session dir>
    local dir=$1 display
    stop_session "$dir"
    rm -rf "$dir"
    mkdir -p "$dir/prefix" "$dir/home"

    # Xvfb picks a free display itself and writes its number to the given descriptor.
    Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$dir/display" </dev/null >/dev/null 2>&1 &
    echo $! >"$dir/xvfb.pid"
    for _ in $(seq 100); do [ -s "$dir/display" ] && break; sleep 0.1; done
    [ -s "$dir/display" ] || { echo "Xvfb did not start" >&2; return 1; }
    display=$(tr -d '\n' <"$dir/display")

    cat >"$dir/env" <<ENV
export WINEPREFIX="$dir/prefix"
export HOME="$dir/home"
export DISPLAY=":$display"
export WINEARCH=win64
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
export LANG=C.UTF-8
export LC_ALL=C.UTF-8
export TZ=UTC
ENV
    # shellcheck source=/dev/null
    . "$dir/env"
    "$wineserver" -f -p </dev/null >/dev/null 2>&1 &
    echo $! >"$dir/wineserver.pid"
    "$wine" wineboot -i </dev/null >/dev/null 2>&1
    # Without these, a window's non-client pixels read back black and the window manager moves windows about.
    "$wine" reg add 'HKCU\Software\Wine\X11 Driver' /v Decorated /d N /f </dev/null >/dev/null 2>&1
    "$wine" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f </dev/null >/dev/null 2>&1
    # Wine closes its desktop soon after the last program using it ends, and the next program to open a window
    # then waits about ten seconds for it to come back: a small program holds the desktop for the whole session.
    if [ -f "$build/bin/desktop_keeper.exe" ]; then
        "$wine" "$build/bin/desktop_keeper.exe" </dev/null >/dev/null 2>&1 &
    fi
}

sessions=("$build/wine" "$build/wine2")
case "$cmd" in
stop)
    for dir in "${sessions[@]}"; do stop_session "$dir"; done
    ;;
start)
    # Side by side: most of a start is Wine setting up its prefix. Each in a subshell of its own, so that the
    # environment one sources stays its own.
    pids=()
    for dir in "${sessions[@]}"; do
        (start_session "$dir") &
        pids+=($!)
    done
    rc=0
    for pid in "${pids[@]}"; do wait "$pid" || rc=1; done
    exit $rc
    ;;
*)
    echo "usage: wine-session.sh start|stop <build-dir>" >&2
    exit 2
    ;;
esac
