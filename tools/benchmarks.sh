#!/usr/bin/env bash
# Runs the benchmarks (tests/bench/benchmarks.cpp) of the 64-bit package under
# Wine, in the test prefix, on a virtual display.
#   tools/benchmarks.sh            every figure, printed
#   tools/benchmarks.sh --write    the same, written into docs/benchmarks.md
#                                  (its tables between the "benchmark:" marks)
#   tools/benchmarks.sh headline   the few figures the test run ends with
#   tools/benchmarks.sh scale      those of large collections alone
#   tools/benchmarks.sh selfend | turnend | overhead | children | xkeys | monitors
#                                  one group of the session's figures alone
#                                  (monitors: on a display of two, made here)
# Expects the builds of tools/build.sh. The figures depend on the machine:
# nothing here fails on a slow one.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
mode=${1:-all}
. "$root/tools/wine-env.sh"
trap rv_wine_stop EXIT
RV_HOLD_DESKTOP="$root/build/tests/bin/rvholddesktop.exe"
prefix="$root/build/wineprefix-tests"
server=
if [ "$mode" = monitors ]; then
    # A display of two monitors (Xorg's dummy driver), in a prefix of its own.
    display=$("$root/tools/two-monitor-display.sh" 2>/dev/null) || {
        echo "| key with a screen saver on each monitor | not run: no display of two monitors here |"
        exit 0
    }
    server=$(cat "/tmp/rv-two-monitors-${display#:}.pid")
    export DISPLAY="$display" RV_KEEP_DISPLAY=1
    prefix="$root/build/wineprefix-bench-monitors"
fi
rv_wine_start "$prefix"
# Keys as the X server's own events, for the rows that press them so.
portfile=$(mktemp)
python3 "$root/tools/x_keys.py" "$portfile" &
xkeys=$!
trap 'kill $xkeys 2>/dev/null; rm -f "$portfile"; rv_wine_stop; [ -z "$server" ] || kill "$server"' EXIT
for _ in $(seq 50); do [ -s "$portfile" ] && break; sleep 0.1; done
[ -s "$portfile" ] && export RV_XKEYS_PORT=$(cat "$portfile")
run() { (cd "$root/build/tests" && "$RV_WINE" bin/benchmarks.exe "$@" 2>/dev/null | tr -d '\r'); }
case "$mode" in
headline | scale | selfend | turnend | overhead | children | xkeys | monitors | handles)
    run "$mode"
    ;;
all | --write)
    # The rows of a screen saver on each monitor end the session's table.
    out=$(run; "$0" monitors)
    if [ "$mode" = all ]; then
        printf '%s\n' "$out"
        exit 0
    fi
    # The program prints the loading table, the large collections' one, then
    # "Session" and its table; each
    # replaces the table between its marks in the document.
    printf '%s\n' "$out" | python3 -c '
import re, sys
out = sys.stdin.read()
tables = re.findall(r"(?m)^\|.*\|$(?:\n\|.*\|$)*", out)
path = sys.argv[1]
doc = open(path).read()
for name, table in zip(("loading", "scale", "session"), tables):
    doc, count = re.subn(r"(<!-- benchmark: %s -->\n).*?(\n<!-- end -->)" % name,
                         lambda m: m.group(1) + table + m.group(2), doc, flags=re.S)
    if count != 1:
        sys.exit("benchmarks: no place for the %s table in %s" % (name, path))
open(path, "w").write(doc)
' "$root/docs/benchmarks.md"
    echo "benchmarks: docs/benchmarks.md written"
    ;;
*)
    echo "usage: tools/benchmarks.sh [--write | headline | scale | overhead | selfend | turnend | xkeys | children | handles | monitors]" >&2
    exit 2
    ;;
esac
