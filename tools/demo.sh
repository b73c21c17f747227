#!/usr/bin/env bash
# The main job: a real Rotaveil session under Wine with the sample screen
# savers. On your display when there is one (press a key or click to end it);
# otherwise on a virtual display, where it saves a screenshot of each turn and
# ends itself after a few turns with an injected key press.
#   tools/demo.sh [--32] [turns]   (default 4 turns of 4 seconds)
# --32 runs the 32-bit package (programs and samples) in a 32-bit prefix;
# without it, the 64-bit package in a 64-bit prefix.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
arch=x86_64 kind=win64
if [ "${1:-}" = --32 ]; then
    arch=i686 kind=win32
    shift
fi
turns=${1:-4}
period_ms=4000
"$root/tools/setup.sh"
ROTAVEIL_NO_TESTS=1 "$root/tools/build.sh"
. "$root/tools/wine-env.sh"

out="$root/build/demo"
rm -rf "$out"
mkdir -p "$out"
prefix="$root/build/wineprefix-demo-$kind"

own_display=""
if [ -n "${DISPLAY:-}" ] && xdotool getdisplaygeometry >/dev/null 2>&1; then
    own_display=yes
    RV_KEEP_DISPLAY=1
else
    RV_VIRTUAL_DESKTOP=1024x768
fi
trap rv_wine_stop EXIT
rv_wine_start "$prefix" "$kind"

windows="$WINEPREFIX/drive_c/windows"
bin="$root/build/$arch/bin"
cp "$bin/_Rotaveil.scr" "$bin/Starfield.scr" "$bin/Plasma.scr" "$bin/Drifting Clock.scr" "$windows/"
rm -f "$windows/_Rotaveil.log"
"$RV_WINE" reg add 'HKCU\Software\Quillmark\RvTray' /v Period /t REG_DWORD /d $period_ms /f >/dev/null 2>&1
"$RV_WINE" reg delete 'HKCU\Software\Quillmark\RvTray\Files' /f >/dev/null 2>&1 || true

echo "The $kind package ($bin) in a $([ $kind = win32 ] && echo 32 || echo 64)-bit Wine prefix."
echo "Starting a session: Drifting Clock, Plasma and Starfield, $((period_ms / 1000)) seconds each."
"$RV_WINE" 'C:\windows\_Rotaveil.scr' /s >/dev/null 2>&1 &
session=$!

if [ -n "$own_display" ]; then
    echo "Press a key or a mouse button to end it."
    wait $session || true
else
    sleep 1.5
    for turn in $(seq "$turns"); do
        import -window root "$out/turn-$turn.png"
        echo "  turn $turn: $out/turn-$turn.png"
        sleep $((period_ms / 1000))
    done
    echo "Pressing a key to end the session."
    "$RV_WINE" "$bin/rvpresskey.exe" >/dev/null 2>&1 || true
    for _ in $(seq 150); do
        kill -0 $session 2>/dev/null || break
        sleep 0.1
    done
    if kill -0 $session 2>/dev/null; then
        echo "The session did not end on the key press; stopping it."
        kill $session 2>/dev/null || true
    fi
    wait $session 2>/dev/null || true
fi

echo
echo "Session ended. Message log ($windows/_Rotaveil.log):"
if [ -s "$windows/_Rotaveil.log" ]; then
    cat "$windows/_Rotaveil.log"
else
    echo "  (empty: every screen saver started and stopped as it should)"
fi
echo "Next session starts at play-list position:"
"$RV_WINE" reg query 'HKCU\Software\Quillmark\RvTray' /v FileIndex 2>/dev/null | tr -d '\r' | grep FileIndex || true
[ -z "$own_display" ] && echo "Screenshots: $out"
exit 0
