#!/usr/bin/env bash
# Builds both architectures and writes to dist/ the setup program for every
# Windows (installer/rotaveil.nsi) and one zip per architecture, ready to
# unpack into the Windows directory. Prints the stripped size of each program.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/tools/setup.sh"
ROTAVEIL_NO_TESTS=1 "$root/tools/build.sh"
version=$(sed -n 's/^#define ROTAVEIL_VERSION "\(.*\)"/\1/p' "$root/build/i686/generated/version.h")
mkdir -p "$root/dist"
for arch in i686 x86_64; do
    stage=$(mktemp -d)
    bin="$root/build/$arch/bin"
    for file in _Rotaveil.scr rvtray.exe Starfield.scr Plasma.scr "Drifting Clock.scr"; do
        cp "$bin/$file" "$stage/"
        "$arch-w64-mingw32-strip" "$stage/$file"
        printf '%s %-20s %7d bytes\n' "$arch" "$file" "$(stat -c %s "$stage/$file")"
    done
    for file in rvtray.hlp rvtray.cnt rvtray.chm; do
        cp "$bin/$file" "$stage/"
    done
    sed 's/$/\r/' "$root/help/INSTALL.txt" > "$stage/INSTALL.txt"
    name="rotaveil-$version-$([ "$arch" = i686 ] && echo win32 || echo win64).zip"
    rm -f "$root/dist/$name"
    (cd "$stage" && zip -q -X "$root/dist/$name" ./*)
    rm -rf "$stage"
    echo "dist/$name"
done
setup="dist/rotaveil-$version-setup.exe"
"$root/tools/make-installer.sh" "$root/$setup"
printf '%s %7d bytes\n' "$setup" "$(stat -c %s "$root/$setup")"
