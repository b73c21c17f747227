#!/usr/bin/env bash
# Starts an X display with two monitors side by side, as Wine sees them:
# 0,0-1024,768 and 1024,0-1824,600 (a virtual screen of 1824 by 768). Xvfb
# cannot: its Xinerama mirrors the heads at 0,0. This is Xorg with the dummy
# driver, whose outputs are RandR outputs that Wine lists as monitors.
#   tools/two-monitor-display.sh        prints the display (":N") it started
#   kill $(cat /tmp/rv-two-monitors-N.pid)   stops it again
# Needs Debian's xserver-xorg-core and xserver-xorg-video-dummy, and runs
# Xorg as root (as CI does); it says so when either is missing.
set -euo pipefail
for package in xserver-xorg-core xserver-xorg-video-dummy x11-xserver-utils; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" ||
        { echo "two-monitor-display: install $package first" >&2; exit 2; }
done
[ "$(id -u)" = 0 ] || { echo "two-monitor-display: Xorg needs root here" >&2; exit 2; }
display=70
while [ -e /tmp/.X11-unix/X$display ] || [ -e /tmp/.X$display-lock ]; do
    display=$((display + 1))
done
config=/tmp/rv-two-monitors-$display.conf
cat >"$config" <<'CONF'
Section "Device"
    Identifier "dummy"
    Driver "dummy"
    VideoRam 65536
EndSection
# The narrow sync ranges leave four modes of the server's built-in list: with
# all of them, Wine 8 fails while it lists the modes of the first monitor and
# never gets to the second.
Section "Monitor"
    Identifier "monitor"
    HorizSync 37.5-48.5
    VertRefresh 59.5-60.5
    Modeline "1024x768" 65.00 1024 1048 1184 1344 768 771 777 806 -hsync -vsync
    Modeline "800x600" 40.00 800 840 968 1056 600 601 605 628 +hsync +vsync
EndSection
Section "Screen"
    Identifier "screen"
    Device "dummy"
    Monitor "monitor"
    DefaultDepth 24
    SubSection "Display"
        Depth 24
        Virtual 1824 768
        Modes "1024x768" "800x600"
    EndSubSection
EndSection
CONF
Xorg ":$display" -config "$config" -noreset -nolisten tcp \
    -logfile "/tmp/rv-two-monitors-$display.log" >/dev/null 2>&1 &
echo $! >"/tmp/rv-two-monitors-$display.pid"
for _ in $(seq 100); do
    xrandr -display ":$display" >/dev/null 2>&1 && break
    sleep 0.1
done
# The second output has no mode of its own until it is given one.
xrandr -display ":$display" --addmode DUMMY1 800x600
xrandr -display ":$display" --output DUMMY1 --mode 800x600 --right-of DUMMY0
# One full query (it probes the outputs): until then the server's quick
# answer, which Wine reads, still has the second output without its place.
xrandr -display ":$display" >/dev/null
echo ":$display"
