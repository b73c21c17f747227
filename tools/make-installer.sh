#!/usr/bin/env bash
# Writes the setup program from both shipping builds (tools/build.sh first):
#   tools/make-installer.sh OUTPUT.exe
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
out=$(realpath -m "$1")
version=$(sed -n 's/^#define ROTAVEIL_VERSION "\(.*\)"/\1/p' "$root/build/i686/generated/version.h")
mkdir -p "$(dirname "$out")"
makensis -V2 -DVERSION="$version" -DOUTFILE="$out" -DBIN32="$root/build/i686/bin" \
    -DBIN64="$root/build/x86_64/bin" -DICON="$root/resources/rvtray.ico" \
    "$root/installer/rotaveil.nsi"
