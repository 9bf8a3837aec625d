#!/usr/bin/env bash
# Build morlu (installing what is missing) and run every test: formatting and
# shell scripts, the unit and integration tests, the headless tapes, the desktop
# test under Xvfb, morlu-check, the browser edition in headless Chromium, the
# unit and integration tests again under AddressSanitizer and UBSan, the
# fuzzers, and the Windows edition under Wine.
#
# The builds run one after another on every core: the Linux edition's, then
# the Windows edition's cross-build, the browser edition's and the sanitizers'
# (clang's). With more compilers at once than cores, each evicting the others'
# working sets from the caches, the same work took a tenth more processor time
# in all, and clang's compiles half as much again. The tests start as soon as
# what they use is built, beside the builds that follow: the Linux edition's
# (tests, morlu-check, then the browser edition's tests, which compare its
# pages with the Linux build's pictures), the Windows edition's (which compare
# its snapshots with the Linux build's), and the sanitizers' tests, then the
# fuzzers. The builds after the first run at a lower priority than the tests,
# some of which wait on programs that must answer in time, and use the cores
# those leave.
# Each stage writes its output to build/test-logs/STAGE.log; a stage that fails
# has its log printed, and the stages that need what it makes do not run. Each
# stage's time is printed at the end.
set -euo pipefail
cd "$(dirname "$0")/.."
jobs=$(nproc)
export MORLU_JOBS=$jobs CMAKE_BUILD_PARALLEL_LEVEL=$jobs
logs=$PWD/build/test-logs
rm -rf "$logs"
mkdir -p "$logs"

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
# One clang build serves the sanitizers and the fuzzers: every library carries
# libFuzzer's coverage hooks, which the tests do not notice. -O1 keeps the
# assertions and runs the fuzzers at a useful speed; line tables are all the
# sanitizers' reports need, at a fifth less compile time than full debugging
# information.
sanitizer_build() {
    local debug="-gline-tables-only -O1"
    cmake -S . -B build-sanitize -G Ninja -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
        -DCMAKE_BUILD_TYPE=Debug -DCMAKE_C_FLAGS_DEBUG="$debug" -DCMAKE_CXX_FLAGS_DEBUG="$debug" \
        -DMORLU_SANITIZE=ON -DMORLU_FUZZ=ON -DMORLU_BENCH=OFF -DMORLU_WITH_GTK=OFF >/dev/null
    nice -n 5 cmake --build build-sanitize -j"$jobs"
}
sanitized() {
    cd build-sanitize
    ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1 ctest -j"$jobs" --output-on-failure
}
fuzzing() {
    MORLU_FUZZ_BUILD=build-sanitize tools/fuzz.sh 30
}
web() {
    wait_for web_build
    tools/test-web.sh build
}
# tools/test-windows.sh finds the cross-build done.
windows() {
    wait_for build
    tools/test-windows.sh
}

# stage NAME TITLE COMMAND...: run one stage, its output in its log; note its
# time for the report, and whether it passed for the stages that wait on it.
stage() {
    local name=$1 title=$2 start=$SECONDS status=0
    shift 2
    echo "== at $SECONDS s: $title: started"
    # In the background, so that the stage's functions stop at their first
    # failing command (errexit does not apply on the left of ||).
    "$@" >"$logs/$name.log" 2>&1 &
    wait $! || status=$?
    printf '%4d s  %s\n' $((SECONDS - start)) "$title" >>"$logs/times"
    if ((status != 0)); then
        echo "== $title: FAILED (exit status $status); its output follows"
        cat "$logs/$name.log"
        echo "== end of $title's output"
        touch "$logs/$name.failed"
        return 1
    fi
    touch "$logs/$name.passed"
    echo "== at $SECONDS s: $title: passed in $((SECONDS - start)) s"
}
# wait_for NAME: wait until stage NAME has ended; fail if it did not pass.
wait_for() {
    until [[ -e $logs/$1.passed || -e $logs/$1.failed ]]; do sleep 1; done
    [[ -e $logs/$1.passed ]] || { echo "stage $1 failed" >&2; return 1; }
}

lane_linux() {
    stage build "build" build &&
        stage tests "tests" tests &&
        stage check "morlu-check: the example assignment, hostile submissions, merged reports, the report in headless Chromium" \
            check/tests/test-check.sh build &&
        stage web "the browser edition in headless Chromium (tools/test-web.sh)" web
}
# The other builds, each whether or not the one before it passed. The Windows
# edition's comes first, since its tests wait on Wine much of their time: the
# builds after it use the cores meanwhile.
lane_builds() {
    local status=0
    wait_for build || true
    stage windows_build "the Windows edition's cross-build (tools/build-windows.sh)" \
        nice -n 5 tools/build-windows.sh || status=1
    stage web_build "the browser edition's build (tools/build-web.sh)" nice -n 5 tools/build-web.sh || status=1
    stage sanitizer_build "the sanitizers' build (clang, AddressSanitizer, UBSan, libFuzzer's hooks)" \
        sanitizer_build || status=1
    return $status
}
lane_windows() {
    wait_for windows_build &&
        stage windows "the Windows edition's tests under Wine (tools/test-windows.sh)" windows
}
# The sanitizers' tests, then the fuzzers, which run for a set time.
lane_sanitizers() {
    wait_for sanitizer_build &&
        stage sanitized "tests under AddressSanitizer and UndefinedBehaviorSanitizer" sanitized &&
        stage fuzzing "fuzzing: the script reader and the primitives, half a minute each (tools/fuzz.sh)" fuzzing
}

report_times() {
    echo "== time per stage ($jobs cores; stages side by side overlap)"
    cat "$logs/times"
    echo "$SECONDS s in all"
}
trap report_times EXIT
trap 'kill 0' INT TERM

# Everything every lane needs, installed before the lanes start.
stage install "installing what is missing" \
    tools/install-deps.sh packages.txt packages-check.txt packages-web.txt packages-windows.txt
stage formatting "formatting and shell scripts (clang-format, shellcheck)" formatting
lanes=()
for lane in lane_linux lane_builds lane_windows lane_sanitizers; do
    $lane &
    lanes+=($!)
done
status=0
for lane in "${lanes[@]}"; do
    wait "$lane" || status=1
done
[[ $status == 0 ]]
