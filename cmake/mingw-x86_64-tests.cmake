# The test build: 64-bit, posix thread model, because GoogleTest needs
# std::mutex. Nothing built with it ships; the tests run the shipped programs.
include(${CMAKE_CURRENT_LIST_DIR}/mingw-x86_64.cmake)
set(CMAKE_C_COMPILER   x86_64-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER x86_64-w64-mingw32-g++-posix)
# Through a wrapper that names the exit code of a program that failed.
set(CMAKE_CROSSCOMPILING_EMULATOR bash ${CMAKE_CURRENT_LIST_DIR}/../tools/run-under-wine.sh
    /usr/lib/wine/wine64)
