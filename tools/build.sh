#!/usr/bin/env bash
# Configures and builds what ships, build/i686 and build/x86_64 (win32 thread
# model, no tests), then the test builds (posix thread model, for GoogleTest):
# build/tests takes its programs from build/x86_64, build/tests32 from
# build/i686.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
jobs=$(nproc 2>/dev/null || echo 2)
configure() {   # folder, toolchain, options...
    local dir="$root/build/$1" toolchain="$2"
    shift 2
    if [ ! -f "$dir/CMakeCache.txt" ]; then
        cmake -S "$root" -B "$dir" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/$toolchain.cmake" \
            "$@" ${ROTAVEIL_CMAKE_ARGS:-} >/dev/null
    fi
    cmake --build "$dir" -j "$jobs"
}
configure i686 mingw-i686 -DROTAVEIL_TESTS=OFF
configure x86_64 mingw-x86_64 -DROTAVEIL_TESTS=OFF
if [ "${ROTAVEIL_NO_TESTS:-}" != 1 ]; then
    configure tests mingw-x86_64-tests -DROTAVEIL_TESTS=ON -DROTAVEIL_SHIPPED_DIR="$root/build/x86_64/bin"
    configure tests32 mingw-i686-tests -DROTAVEIL_TESTS=ON -DROTAVEIL_SHIPPED_DIR="$root/build/i686/bin"
fi
