#!/usr/bin/env bash
# Makes docs/settings-dialog.png: the settings dialog as it looks under Wine
# with two sample screen savers installed, a third added from a folder of its
# own, and a play-list of the three, one with a time of its own.
#   tools/screenshot-dialog.sh [dpi]   at 144 (150 %): docs/settings-dialog-150.png
#   tools/screenshot-dialog.sh time    docs/entry-time-dialog.png: "Time for Plasma",
#                                      opened by a double-click on its entry
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
dpi=${1:-96}
out="$root/docs/settings-dialog.png"
time_dialog=""
if [ "$dpi" = time ]; then
    dpi=96
    time_dialog=1
    out="$root/docs/entry-time-dialog.png"
fi
[ "$dpi" = 96 ] || out="$root/docs/settings-dialog-$((dpi * 100 / 96)).png"
. "$root/tools/wine-env.sh"
rv_screenshot_start "$root"
"$RV_WINE" reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$dpi" /f >/dev/null 2>&1
"$RV_WINE" reg add 'HKLM\System\CurrentControlSet\Hardware Profiles\Current\Software\Fonts' \
    /v LogPixels /t REG_DWORD /d "$dpi" /f >/dev/null 2>&1
/usr/lib/wine/wineserver -k >/dev/null 2>&1 || true
/usr/lib/wine/wineserver -w >/dev/null 2>&1 || true
"$RV_WINE" wineboot >/dev/null 2>&1 || true
cp "$bin/_Rotaveil.scr" "$bin/Starfield.scr" "$bin/Plasma.scr" "$windows/"
mkdir -p "$WINEPREFIX/drive_c/Savers"
cp "$bin/Drifting Clock.scr" "$WINEPREFIX/drive_c/Savers/"
"$RV_WINE" reg add 'HKCU\Software\Quillmark\RvTray\Files' /v 'File        00' \
    /d 'C:\windows\Plasma.scr' /f >/dev/null 2>&1
"$RV_WINE" reg add 'HKCU\Software\Quillmark\RvTray\Files' /v 'File        01' \
    /d 'C:\windows\Starfield.scr' /f >/dev/null 2>&1
"$RV_WINE" reg add 'HKCU\Software\Quillmark\RvTray\Files' /v 'File        02' \
    /d 'C:\Savers\Drifting Clock.scr' /f >/dev/null 2>&1
# Plasma has a time of its own; the times count only with the fingerprint of
# the play-list they were stored with (FNV-1a over the paths and terminators).
list=$(python3 -c '
import sys
h = 2166136261
for p in sys.argv[1:]:
    for b in p.encode() + b"\0":
        h = ((h ^ b) * 16777619) & 0xFFFFFFFF
print(h)' 'C:\windows\Plasma.scr' 'C:\windows\Starfield.scr' 'C:\Savers\Drifting Clock.scr')
"$RV_WINE" reg add 'HKCU\Software\Quillmark\RvTray\Times' /v 'File        00' /t REG_DWORD \
    /d 60 /f >/dev/null 2>&1
"$RV_WINE" reg add 'HKCU\Software\Quillmark\RvTray\Times' /v List /t REG_DWORD \
    /d "$list" /f >/dev/null 2>&1
printf '07/12/26 09:41 Screensaver C:\\windows\\Plasma.scr started notepad.exe process\r\n' \
    > "$windows/_Rotaveil.log"

"$RV_WINE" 'C:\windows\_Rotaveil.scr' /c >/dev/null 2>&1 &
dialog=$(rv_find_window '^Rotaveil settings$') ||
    { echo "the settings dialog did not appear" >&2; exit 1; }
sleep 1.5
mkdir -p "$root/docs"
if [ -n "$time_dialog" ]; then
    # The play-list's first entry, at 100 %.
    xdotool mousemove --window "$dialog" 340 66 click --repeat 2 --delay 60 1
    dialog=$(rv_find_window '^Time for Plasma$') ||
        { echo "the time dialog did not appear" >&2; exit 1; }
    sleep 1
fi
import -window "$dialog" "$out"
echo "${out#$root/}"
