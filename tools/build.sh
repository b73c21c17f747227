#!/usr/bin/env bash
# Configures and builds both architectures: build/x86_64 (run by the tests
# under Wine) and build/i686 (the 32-bit deliverable).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
jobs=$(nproc 2>/dev/null || echo 2)
for arch in x86_64 i686; do
    dir="$root/build/$arch"
    tests=ON
    [ "$arch" = i686 ] && tests=OFF   # 32-bit programs cannot run here
    if [ ! -f "$dir/CMakeCache.txt" ]; then
        cmake -S "$root" -B "$dir" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-$arch.cmake" \
            -DROTAVEIL_TESTS=$tests ${ROTAVEIL_CMAKE_ARGS:-} >/dev/null
    fi
    cmake --build "$dir" -j "$jobs"
done
