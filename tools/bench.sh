#!/usr/bin/env bash
# Measure morlu against its budgets and print one table: the frame and the
# primitives (Google Benchmark), headless replay, start-up, click latency, CPU
# while animating and halted, and memory; then the browser edition's page
# sizes, first frame and idle CPU in headless Chromium (tools/bench-web.sh).
# Installs what is missing, builds a Release build in build-release/ and the
# pages in build-web/, and runs the desktop probes on private X servers. Takes
# about three minutes; run it on an otherwise idle machine.
set -euo pipefail
cd "$(dirname "$0")/.."
tools/install-deps.sh
cmake -S . -B build-release -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build-release -j2 --target morlu_bench morlu_cairo_bench morlu-headless morlu-bugs >/dev/null

out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT

# The median of a benchmark, in the unit the benchmark reports.
median() {
    awk -v name="$1_median" '$1 == name {print $4 " " $5}' "$out/bench.txt"
}

echo "Measuring (about two minutes)..." >&2
build-release/bench/morlu_bench --benchmark_repetitions=5 --benchmark_report_aggregates_only=true \
    --benchmark_filter='FullFrame|Scene|FifteenBugs|DebugBug|BM_Circle$|BM_Triangle|SkyRectangle|BM_Line/|HelpText' \
    >"$out/bench.txt" 2>/dev/null
# The same frame drawn with cairo, in three rounds interleaved with ours so both
# see the same machine; the medians of all rounds are compared.
for _ in 1 2 3; do
    build-release/bench/morlu_bench --benchmark_filter='BM_FullFrame$' --benchmark_repetitions=3 \
        --benchmark_report_aggregates_only=false 2>/dev/null | awk '$1 == "BM_FullFrame" {print $4}' >>"$out/ours.txt"
    build-release/bench/morlu_cairo_bench --benchmark_repetitions=3 --benchmark_report_aggregates_only=false \
        2>/dev/null | awk '$1 == "BM_CairoFullFrame" {print $4}' >>"$out/cairo.txt"
done
middle() { sort -n "$1" | awk '{v[NR] = $1} END {print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2}'; }
ours=$(middle "$out/ours.txt")
cairo=$(middle "$out/cairo.txt")
ratio=$(awk -v a="$cairo" -v b="$ours" 'BEGIN {printf "%.1f", a / b}')
replay=$(bench/replay_probe.sh build-release/tools/morlu-headless)
replay15=$(bench/replay_probe.sh build-release/tools/morlu-headless 30000 --fifteen-bugs)
animating=$(bench/cpu_probe.sh build-release/app/morlu-bugs 20)
halted=$(bench/cpu_probe.sh build-release/app/morlu-bugs 20 --halted)
memory=$(bench/memory_probe.sh build-release/app/morlu-bugs 20)
screen=$(
    source tests/e2e/x_session.sh
    start_xvfb
    python3 bench/screen_probe.py build-release/app/morlu-bugs 5
)

web=$(tools/bench-web.sh)

first() { sed -E "s/^[^:]*: //" <<<"$1"; }
cat <<TABLE
| What | Budget | Measured |
|---|---|---|
| One full frame (scene, panel, 15 bugs, debug view) into the back buffer | ≤ 200 µs | $(median BM_FullFrame) (scene $(median BM_Scene), 15 bugs $(median BM_FifteenBugs), debug view $(median BM_DebugBug)) |
| The same frame with cairo (image backend, no anti-aliasing), medians of three interleaved rounds | | cairo $cairo us, morlu $ours us: morlu $ratio x faster |
| Primitives alone: circle r 25, mountain triangle, sky rectangle, line width 1 and 2, one help line | | $(median BM_Circle), $(median BM_Triangle), $(median BM_SkyRectangle), $(median BM_Line/1), $(median BM_Line/2), $(median BM_HelpText) |
| Headless replay of a recorded script, full redraw per event | ≥ 3,000 events/s | $(first "$replay") |
| The same with 15 bugs and no debug view (14 Add Bug clicks, then clicks right of the panel) | | $(first "$replay15") |
| CPU while halted (no input) | ≈ 0 % | $(first "$halted") |
| CPU while animating at 10 frames/s under Xvfb | ≤ 2 % of one core | $(first "$animating") |
| Start to first frame on screen | ≤ 300 ms | $(grep 'start to first' <<<"$screen" | sed -E 's/^[^:]*: //') |
| Click to the changed frame on screen | within one frame (100 ms) | $(grep 'click to changed' <<<"$screen" | sed -E 's/^[^:]*: //') |
| Peak memory, morlu-headless replaying a long script | ≤ 40 MB, flat | see the replay row |
| Peak memory, morlu-bugs on the desktop | ≤ 120 MB, flat | $(first "$memory") |
$web
TABLE
