#!/usr/bin/env bash
# Build the Windows edition into build-windows/ (installing MinGW-w64, Wine and
# what else is missing): morlu-bugs.exe, the examples, libmorlu.a and
# libmorlu_main.a, and the unit tests, cross-compiled on this Linux machine.
# Extra arguments go to CMake's configure step.
set -euo pipefail
cd "$(dirname "$0")/.."
tools/install-deps.sh
tools/install-deps.sh packages-windows.txt
# Programs run under Wine use a prefix of the build's own and no display.
export WINEPREFIX=${WINEPREFIX:-$PWD/build-windows/wine-prefix} WINEDEBUG=${WINEDEBUG:--all}
unset DISPLAY

cmake -S . -B build-windows -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake \
    -DCMAKE_BUILD_TYPE=Release -DMORLU_BENCH=OFF "$@" >/dev/null
cmake --build build-windows -j"${MORLU_JOBS:-$(nproc)}"
