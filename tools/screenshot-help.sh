#!/usr/bin/env bash
# Makes docs/help-winhelp.png and docs/help-htmlhelp.png: the help as Wine's
# WinHelp and HTML Help viewers show it, which is how users open it.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
. "$root/tools/wine-env.sh"
rv_screenshot_start "$root"
cp "$bin/rvtray.hlp" "$bin/rvtray.cnt" "$bin/rvtray.chm" "$windows/"
mkdir -p "$root/docs"

# viewer, file, window title, picture
shoot() {
    "$RV_WINE" "$1" "C:\\windows\\$2" >/dev/null 2>&1 &
    local viewer=$! window
    window=$(rv_find_window "$3") || { echo "$1 showed no window named '$3'" >&2; exit 1; }
    sleep 2
    import -window "$window" "$root/docs/$4"
    echo "docs/$4"
    kill "$viewer" 2>/dev/null || true
    /usr/lib/wine/wineserver -k >/dev/null 2>&1 || true
    "$RV_WINE" wineboot >/dev/null 2>&1 || true
}
shoot winhlp32.exe rvtray.hlp 'Rotaveil Help' help-winhelp.png
shoot hh.exe rvtray.chm 'Rotaveil Help' help-htmlhelp.png
