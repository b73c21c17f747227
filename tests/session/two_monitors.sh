#!/usr/bin/env bash
# The tests of a screen saver on each monitor (EachMonitor.*), on an X display
# with two monitors side by side (tools/two-monitor-display.sh) and in a Wine
# prefix of their own. Exit 77 (skipped): that display cannot be made here.
#   tests/session/two_monitors.sh TEST-BUILD-FOLDER win64|win32
set -uo pipefail
build="$1" kind="$2"
root=$(cd "$(dirname "$0")/../.." && pwd)
why=$(mktemp)
display=$("$root/tools/two-monitor-display.sh" 2>"$why") || { echo "skipped: $(cat "$why")"; exit 77; }
rm -f "$why"
server_pid=$(cat "/tmp/rv-two-monitors-${display#:}.pid")
. "$root/tools/wine-env.sh"
prefix="$build/wineprefix-two-monitors"
finish() {
    rv_wine_stop
    kill "$server_pid" 2>/dev/null
    wait "$server_pid" 2>/dev/null
}
trap finish EXIT
rv_wine_clean "$prefix"
export DISPLAY="$display" RV_KEEP_DISPLAY=1 RV_HOLD_DESKTOP="$build/bin/rvholddesktop.exe"
rv_wine_start "$prefix" "$kind"
# Into a file, not a pipe: Wine's server, started here, would hold a pipe open.
"$RV_WINE" "$build/bin/session_tests.exe" --gtest_filter='EachMonitor.*:DisplayMode.*' >"$prefix/output.txt" 2>&1
tr -d '\r' <"$prefix/output.txt"
# A skip here means Wine saw one monitor: that is a failure of this test.
grep -q '^\[  PASSED  \] 4 tests' "$prefix/output.txt" && ! grep -q SKIPPED "$prefix/output.txt"
