#!/usr/bin/env bash
# Build morlu (installing what is missing) and run every test: formatting, the
# unit and integration tests, the headless tapes, the desktop test under Xvfb,
# then the unit and integration tests again under AddressSanitizer and UBSan.
set -euo pipefail
cd "$(dirname "$0")/.."
tools/install-deps.sh

echo "== formatting"
git ls-files '*.c' '*.cpp' '*.h' | xargs clang-format --dry-run --Werror

echo "== build"
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j2

echo "== tests"
# One test at a time: several of them read and write MORLU.SCR in one folder.
(cd build && ctest --output-on-failure)

echo "== morlu-check: the example assignment, hostile submissions, merged reports, the report in headless Chromium"
tools/install-deps.sh packages-check.txt
check/tests/test-check.sh build

echo "== tests under AddressSanitizer and UndefinedBehaviorSanitizer"
cmake -S . -B build-sanitize -G Ninja -DCMAKE_BUILD_TYPE=Debug -DMORLU_SANITIZE=ON -DMORLU_BENCH=OFF \
    -DMORLU_WITH_GTK=OFF >/dev/null
cmake --build build-sanitize -j2
(cd build-sanitize && ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1 \
    ctest --output-on-failure)

echo "== fuzzing: the script reader and the primitives, one minute each (tools/fuzz.sh)"
tools/fuzz.sh 60

echo "== the Windows edition, cross-built and tested under Wine (tools/test-windows.sh)"
tools/test-windows.sh
