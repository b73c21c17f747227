#!/usr/bin/env bash
# Writes the setup program from both shipping builds (tools/build.sh first):
#   tools/make-installer.sh OUTPUT.exe [amd64]
# With amd64 the same script is built for NSIS's 64-bit Unicode stub: not
# shipped, but what the installer test runs where 32-bit programs cannot.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
out=$(realpath -m "$1")
version=$(sed -n 's/^#define ROTAVEIL_VERSION "\(.*\)"/\1/p' "$root/build/i686/generated/version.h")
target=()
[ "${2:-}" = amd64 ] && target=(-DAMD64)
mkdir -p "$(dirname "$out")"
# -V2: warnings and errors only; the script makes every warning an error.
makensis -V2 "${target[@]}" -DVERSION="$version" -DOUTFILE="$out" -DBIN32="$root/build/i686/bin" \
    -DBIN64="$root/build/x86_64/bin" -DICON="$root/resources/rvtray.ico" \
    "$root/installer/rotaveil.nsi"
