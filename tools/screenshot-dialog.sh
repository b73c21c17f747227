#!/usr/bin/env bash
# Makes docs/settings-dialog.png: the settings dialog as it looks under Wine
# with the sample screen savers installed and a play-list of two of them.
#   tools/screenshot-dialog.sh [dpi]   at 144 (150 %): docs/settings-dialog-150.png
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
dpi=${1:-96}
out="$root/docs/settings-dialog.png"
[ "$dpi" = 96 ] || out="$root/docs/settings-dialog-$((dpi * 100 / 96)).png"
. "$root/tools/wine-env.sh"
rv_screenshot_start "$root"
"$RV_WINE" reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$dpi" /f >/dev/null 2>&1
"$RV_WINE" reg add 'HKLM\System\CurrentControlSet\Hardware Profiles\Current\Software\Fonts' \
    /v LogPixels /t REG_DWORD /d "$dpi" /f >/dev/null 2>&1
/usr/lib/wine/wineserver -k >/dev/null 2>&1 || true
/usr/lib/wine/wineserver -w >/dev/null 2>&1 || true
"$RV_WINE" wineboot >/dev/null 2>&1 || true
cp "$bin/_Rotaveil.scr" "$bin/Starfield.scr" "$bin/Plasma.scr" "$bin/Drifting Clock.scr" "$windows/"
"$RV_WINE" reg add 'HKCU\Software\Quillmark\RvTray\Files' /v 'File        00' \
    /d 'C:\windows\Plasma.scr' /f >/dev/null 2>&1
"$RV_WINE" reg add 'HKCU\Software\Quillmark\RvTray\Files' /v 'File        01' \
    /d 'C:\windows\Starfield.scr' /f >/dev/null 2>&1
printf '07/12/26 09:41 Screensaver C:\\windows\\Plasma.scr started notepad.exe process\r\n' \
    > "$windows/_Rotaveil.log"

"$RV_WINE" 'C:\windows\_Rotaveil.scr' /c >/dev/null 2>&1 &
dialog=""
for _ in $(seq 100); do
    dialog=$(xdotool search --name '^Rotaveil settings$' 2>/dev/null | head -1 || true)
    [ -n "$dialog" ] && break
    sleep 0.2
done
[ -n "$dialog" ] || { echo "the settings dialog did not appear" >&2; exit 1; }
sleep 1.5
mkdir -p "$root/docs"
import -window "$dialog" "$out"
echo "${out#$root/}"
