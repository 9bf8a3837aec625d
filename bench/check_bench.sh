#!/usr/bin/env bash
# morlu-check's budget: 30 submissions x 3 tapes with -j2, compiling included,
# on the example assignment. The class: 20 correct programs (half C, half C++),
# 5 off by a pixel, 2 crashes, 2 compile errors and 1 endless loop (which
# waits out its time limit on two tapes). Prints the wall time and the per-
# student lines; a benchmark, not a test: nothing is asserted.
# Usage: check_bench.sh BUILD   (a build of morlu with morlu-check; installed into a temporary prefix)
set -euo pipefail
build=$(realpath "${1:?usage: check_bench.sh BUILD}")
assignment=$(realpath "$(dirname "$0")/../examples/assignment")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
chmod 755 "$work"
cmake --install "$build" --prefix "$work/prefix" >/dev/null
export PKG_CONFIG_PATH=$work/prefix/lib/pkgconfig

class=$work/class
mkdir "$class"
add() {
    local kind=$1 count=$2
    for i in $(seq "$count"); do
        cp -r "$assignment/submissions/$kind" "$class/$kind-$i"
    done
}
add correct 10
for i in $(seq 10); do
    mkdir "$class/correct-c-$i" && cp "$assignment/reference/draw.c" "$class/correct-c-$i/"
done
add off_by_one 5
add crash 2
add compile_error 2
add endless_loop 1

start=$(date +%s%N)
"$work/prefix/bin/morlu-check" "$assignment" "$class" -o "$work/out" -j2
end=$(date +%s%N)
millis=$(((end - start) / 1000000))
printf '30 submissions x 3 tapes, -j2, compiling included: %d.%03d s (budget: 60 s); report.html %d KB\n' \
    $((millis / 1000)) $((millis % 1000)) $(($(stat -c %s "$work/out/report.html") / 1024))
