#!/usr/bin/env bash
# notifier_probe against TrelmMail.exe from one command: a private Dovecot (its letters are written by the probe),
# then the probe under the build's Wine session (started and left running).
#   Usage: tools/notifier_probe/run.sh [build-dir] [idle seconds | letters | accounts]
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
build=$(cd "${1:-$root/build/x86_64}" && pwd)
seconds=${2:-60}
dir=$build/bench-data/notifier-dovecot
fixture=$root/tests/netlib/dovecot-fixture.sh

trap 'bash "$fixture" stop "$dir" >/dev/null 2>&1 || true' EXIT
bash "$fixture" start "$dir" >/dev/null
"$root/scripts/wine-session.sh" start "$build"
if [ "$seconds" = letters ]; then
    set -- letters
elif [ "$seconds" = accounts ]; then
    # Fifty more users, bench01 to bench50, for the round over many accounts.
    uid=$(id -u nobody) gid=$(id -g nobody)
    for i in $(seq -w 1 50); do
        u=bench$i@example.test
        printf '%s:{PLAIN}secret:%s:%s::%s/home/%s::\n' "$u" "$uid" "$gid" "$dir" "$u" >>"$dir/passwd"
        mkdir -p "$dir/home/$u" "$dir/rawlog/$u"
        chown -R "$uid:$gid" "$dir/home/$u" "$dir/rawlog/$u"
    done
    set -- accounts
else
    set -- exe "$seconds"
fi
NETLIB_DOVECOT_DIR=$dir NETLIB_DOVECOT_CTL=$root/tests/netlib/dovecot-ctl.sh \
    "$build/wine-run" "$build/bin/notifier_probe.exe" "$@"
