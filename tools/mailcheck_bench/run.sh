#!/usr/bin/env bash
# The mail-check benchmark from one command: a private Dovecot with 20 unseen letters, a relay adding 20 ms each
# way (a 40 ms round trip), then mailcheck_bench under the build's Wine session: our check against the reference
# client, and StripHtml.   Usage: tools/mailcheck_bench/run.sh [build-dir] [runs]
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
build=$(cd "${1:-$root/build/x86_64}" && pwd)
runs=${2:-9}
dir=$build/bench-data/dovecot
fixture=$root/tests/netlib/dovecot-fixture.sh
ctl=$root/tests/netlib/dovecot-ctl.sh

cleanup() {
    [ -n "${proxy:-}" ] && kill "$proxy" 2>/dev/null || true
    bash "$fixture" stop "$dir" >/dev/null 2>&1 || true
}
trap cleanup EXIT
bash "$fixture" start "$dir" >/dev/null
. "$dir/info"
bash "$ctl" "$dir" reset user@example.test >/dev/null
bash "$ctl" "$dir" bulk user@example.test 20 "1 Jan 2024" >/dev/null

exec 3< <(python3 "$root/tools/mailcheck_bench/delay_proxy.py" "$PORT" 20)
proxy=$!
read -r relay <&3

"$root/scripts/wine-session.sh" start "$build"
"$build/wine-run" "$build/bin/mailcheck_bench.exe" check "$relay" "Z:$CA_DER" "Z:$CA_PEM" "$runs"
"$build/wine-run" "$build/bin/mailcheck_bench.exe" strip
