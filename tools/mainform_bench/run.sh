#!/bin/sh
# The main window's skin switch benchmark beside the bare skinned form's, in the build's Wine session (started here
# when it is not running): tools/mainform_bench/run.sh build/x86_64 [ROUNDS]
set -e
build=${1:?build folder}
rounds=${2:-2}
here=$(cd "$(dirname "$0")/../.." && pwd)
"$here/scripts/wine-session.sh" start "$build" >/dev/null
echo "== the notifier's main window"
"$build/wine-run" "$build/bin/mainform_bench.exe" "$rounds"
echo "== the bare skinned form (skinform_tool bench)"
"$build/wine-run" "$build/bin/skinform_tool.exe" bench "$rounds" | grep -E "skin switch|baseline|ratio of medians"
