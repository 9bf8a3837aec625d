#!/usr/bin/env bash
# Build morlu (installing what is missing) and run every test: formatting and
# shell scripts, the unit and integration tests, the headless tapes, the desktop
# test under Xvfb, the browser edition in headless Chromium, then the unit and
# integration tests again under AddressSanitizer and UBSan, the fuzzers, and the
# Windows edition under Wine.
# Builds and tests use every core; each stage's time is printed at the end.
set -euo pipefail
cd "$(dirname "$0")/.."
jobs=$(nproc)
export MORLU_JOBS=$jobs CMAKE_BUILD_PARALLEL_LEVEL=$jobs

times=()
# stage NAME COMMAND...: run one stage and note how long it took.
stage() {
    local name=$1 start=$SECONDS
    shift
    echo "== $name"
    "$@"
    times+=("$(printf '%4d s  %s' $((SECONDS - start)) "$name")")
}
report_times() {
    echo "== time per stage ($jobs cores)"
    printf '%s\n' "${times[@]}"
    echo "$SECONDS s in all"
}
trap report_times EXIT

formatting() {
    git ls-files '*.c' '*.cpp' '*.h' | xargs clang-format --dry-run --Werror
    git ls-files '*.sh' | xargs shellcheck
}
# The documentation pages' tests build morlu from a copy of the source as a
# reader does, with the build stage's flags: a compiler cache shared with the
# build stage serves those compiles. Paths under the source folder are hashed
# relative to the compiler's folder, so the copies, made in build/tmp, match.
export CCACHE_DIR=$PWD/build/compiler-cache CCACHE_BASEDIR=$PWD
build() {
    cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release \
        -DCMAKE_C_COMPILER_LAUNCHER=ccache -DCMAKE_CXX_COMPILER_LAUNCHER=ccache >/dev/null
    cmake --build build -j"$jobs"
}
# Tests run side by side: each works in a folder of its own.
tests() {
    mkdir -p build/tmp
    (cd build && TMPDIR=$PWD/tmp CMAKE_C_COMPILER_LAUNCHER=ccache CMAKE_CXX_COMPILER_LAUNCHER=ccache \
        ctest -j"$jobs" --output-on-failure)
}
check_stage() {
    tools/install-deps.sh packages-check.txt
    check/tests/test-check.sh build
}
# One clang build serves the sanitizers and the fuzzers: every library carries
# libFuzzer's coverage hooks, which the tests do not notice. -O1 keeps the
# assertions and runs the fuzzers at a useful speed; line tables are all the
# sanitizers' reports need, at a fifth less compile time than full debugging
# information.
sanitized() {
    local debug="-gline-tables-only -O1"
    cmake -S . -B build-sanitize -G Ninja -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
        -DCMAKE_BUILD_TYPE=Debug -DCMAKE_C_FLAGS_DEBUG="$debug" -DCMAKE_CXX_FLAGS_DEBUG="$debug" \
        -DMORLU_SANITIZE=ON -DMORLU_FUZZ=ON -DMORLU_BENCH=OFF -DMORLU_WITH_GTK=OFF >/dev/null
    cmake --build build-sanitize -j"$jobs"
    (cd build-sanitize && ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1 \
        ctest -j"$jobs" --output-on-failure)
}

stage "installing what is missing" tools/install-deps.sh
stage "formatting and shell scripts (clang-format, shellcheck)" formatting
stage "build" build
stage "tests" tests
stage "morlu-check: the example assignment, hostile submissions, merged reports, the report in headless Chromium" \
    check_stage
stage "the browser edition in headless Chromium (tools/test-web.sh)" tools/test-web.sh build
stage "tests under AddressSanitizer and UndefinedBehaviorSanitizer" sanitized
stage "fuzzing: the script reader and the primitives, half a minute each (tools/fuzz.sh)" \
    env MORLU_FUZZ_BUILD=build-sanitize tools/fuzz.sh 30
stage "the Windows edition, cross-built and tested under Wine (tools/test-windows.sh)" tools/test-windows.sh
