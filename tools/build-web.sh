#!/usr/bin/env bash
# Build the browser edition into build-web/ (installing emscripten and what
# else is missing): build-web/pages/ holds bugs.html, one page per example and
# the gallery index.html, each a self-contained page that opens from a file.
# Extra arguments go to CMake's configure step.
set -euo pipefail
cd "$(dirname "$0")/.."
tools/install-deps.sh packages-web.txt
# Debian's emcc finds its JavaScript tools through Node's system folder.
export NODE_PATH=${NODE_PATH:-/usr/share/nodejs}
# Debian's own Python, which has fontTools, whatever else is first on the PATH.
emcmake cmake -S . -B build-web -G Ninja -DCMAKE_BUILD_TYPE=MinSizeRel \
    -DPython3_EXECUTABLE=/usr/bin/python3 "$@" >/dev/null
cmake --build build-web -j"${MORLU_JOBS:-2}"
