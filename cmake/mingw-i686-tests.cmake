# The 32-bit test build: posix thread model, because GoogleTest needs
# std::mutex. Nothing built with it ships; the tests run the shipped 32-bit
# programs, under Wine's 32-bit loader (a 32-bit prefix).
include(${CMAKE_CURRENT_LIST_DIR}/mingw-i686.cmake)
set(CMAKE_C_COMPILER   i686-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER i686-w64-mingw32-g++-posix)
# Through a wrapper that names the exit code of a program that failed.
set(CMAKE_CROSSCOMPILING_EMULATOR bash ${CMAKE_CURRENT_LIST_DIR}/../tools/run-under-wine.sh
    /usr/lib/wine/wine)
