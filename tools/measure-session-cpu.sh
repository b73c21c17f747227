#!/usr/bin/env bash
# Processor time of the session process over 20 s of one long turn (Plasma),
# read from /proc; run after tools/run-tests.sh has built everything.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
. tools/wine-env.sh
prefix=$root/build/wineprefix-cpu
rv_wine_clean "$prefix"
trap rv_wine_stop EXIT
RV_HOLD_DESKTOP=$root/build/tests/bin/rvholddesktop.exe rv_wine_start "$prefix"
windows="$WINEPREFIX/drive_c/windows"
cp build/x86_64/bin/_Rotaveil.scr build/x86_64/bin/Plasma.scr "$windows/"
"$RV_WINE" reg add 'HKCU\Software\Quillmark\RvTray' /v Period /t REG_DWORD /d 60000 /f >/dev/null 2>&1
"$RV_WINE" 'C:\windows\_Rotaveil.scr' /s >/dev/null 2>&1 &
sleep 6
pid=$(pgrep -f '_Rotaveil.scr' | head -1)
t0=$(awk '{print $14+$15}' /proc/$pid/stat); sleep 20; t1=$(awk '{print $14+$15}' /proc/$pid/stat)
echo "session process $pid: $(( (t1-t0) * 10 )) ms of processor time in 20 s ($(getconf CLK_TCK) ticks/s)"
"$RV_WINE" build/tests/bin/rvpresskey.exe >/dev/null 2>&1
sleep 2
