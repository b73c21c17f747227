#!/usr/bin/env bash
# Installs what building, testing and packaging need on Debian 12, only when
# missing. Wine for 32-bit programs (wine32 from the i386 architecture) is
# tried apart: a machine that cannot have it still builds and runs the 64-bit
# suite, and the test run says that the 32-bit one was skipped.
set -euo pipefail
packages=(cmake make python3 g++-mingw-w64-x86-64 g++-mingw-w64-i686
          g++-mingw-w64-x86-64-posix g++-mingw-w64-i686-posix
          g++-mingw-w64-x86-64-win32 g++-mingw-w64-i686-win32 mingw-w64-tools
          halibut x11-xserver-utils nsis xserver-xorg-core xserver-xorg-video-dummy
          googletest wine64 xvfb xdotool imagemagick fonts-liberation zip)
installed() { dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q "install ok installed"; }
sudo=""
[ "$(id -u)" -ne 0 ] && sudo=sudo
updated=""
# A mirror in the middle of its sync fails an index now and then ("File has
# unexpected size"): tried again, then the lists there are are used.
update() {
    [ -n "$updated" ] && return 0
    updated=yes
    for wait in 5 15 0; do
        $sudo apt-get update -q && return 0
        [ "$wait" = 0 ] || sleep "$wait"
    done
    echo "setup: apt-get update failed three times; installing from the lists there are" >&2
}
missing=()
for p in "${packages[@]}"; do
    installed "$p" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
    echo "installing: ${missing[*]}"
    update
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -q "${missing[@]}"
fi
if ! installed wine32:i386; then
    echo "installing: wine32:i386 (Wine for 32-bit programs)"
    if ! dpkg --print-foreign-architectures | grep -qx i386; then
        $sudo dpkg --add-architecture i386
        updated=""
    fi
    update
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -q wine32:i386 ||
        echo "setup: wine32:i386 could not be installed; the 32-bit programs cannot be tested here" >&2
fi
