#!/usr/bin/env bash
# notifier_probe against TrelmMail.exe from one command: a private Dovecot (its letters are written by the probe),
# then the probe under the build's Wine session (started and left running).
#   Usage: tools/notifier_probe/run.sh [build-dir] [idle seconds | letters]
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
else
    set -- exe "$seconds"
fi
NETLIB_DOVECOT_DIR=$dir NETLIB_DOVECOT_CTL=$root/tests/netlib/dovecot-ctl.sh \
    "$build/wine-run" "$build/bin/notifier_probe.exe" "$@"
