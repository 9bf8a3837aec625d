#!/usr/bin/env bash
# Build morlu (installing what is missing) and start the desktop program.
set -euo pipefail
cd "$(dirname "$0")/.."
tools/install-deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build --target morlu-bugs morlu-headless
exec build/app/morlu-bugs "$@"
