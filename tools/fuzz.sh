#!/usr/bin/env bash
# Fuzz the script reader and the drawing primitives with libFuzzer, SECONDS each
# (default 60), both at once on the two cores: install what is missing, build
# build-fuzz/ with clang, AddressSanitizer and UBSan, start from the committed
# seeds (copied, so new inputs stay out of the repository) and fail on any crash,
# leak, hang or broken invariant, keeping the input in build-fuzz/crashes/.
# MORLU_FUZZ_BUILD names another build folder.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-60}
[[ $seconds =~ ^[1-9][0-9]*$ ]] || { echo "usage: tools/fuzz.sh [SECONDS]" >&2; exit 2; }
tools/install-deps.sh

root=$PWD
build=$(realpath -m "${MORLU_FUZZ_BUILD:-build-fuzz}")
# A folder already configured for fuzzing (the test command's sanitizer build)
# is used as it is.
if ! grep -qx 'MORLU_FUZZ:BOOL=ON' "$build/CMakeCache.txt" 2>/dev/null; then
    cmake -S . -B "$build" -G Ninja -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
        -DCMAKE_BUILD_TYPE=RelWithDebInfo -DMORLU_FUZZ=ON -DMORLU_WITH_GTK=OFF -DMORLU_BENCH=OFF >/dev/null
fi
cmake --build "$build" -j"${MORLU_JOBS:-$(nproc)}" --target morlu_script_reader_fuzz morlu_primitives_fuzz

# The fuzzers work in a folder of their own (MORLU.SCR), so every path is absolute.
# A script reads a 512-byte line buffer: 4096 bytes hold several long lines. A
# primitives record is 33 bytes and some text: 4096 bytes hold the 64 records read.
run() {
    local name=$1 work=$build/fuzz-work/$1 crashes=$build/crashes/$1
    rm -rf "$work" "$crashes"
    mkdir -p "$work" "$crashes"
    cp "$root/tests/fuzz/corpus/$name/"* "$work/"
    local dict=()
    [[ -f $root/tests/fuzz/$name.dict ]] && dict=(-dict="$root/tests/fuzz/$name.dict")
    "$build/tests/fuzz/morlu_${name}_fuzz" -max_total_time="$seconds" -max_len=4096 -timeout=10 \
        -rss_limit_mb=2048 -print_final_stats=1 -artifact_prefix="$crashes/" "${dict[@]}" "$work" \
        >"$build/fuzz-$name.log" 2>&1
}

echo "== fuzzing the script reader and the primitives for $seconds s"
declare -A fuzzer_pid
run script_reader & fuzzer_pid[script_reader]=$!
run primitives & fuzzer_pid[primitives]=$!
status=0
for name in script_reader primitives; do
    if wait "${fuzzer_pid[$name]}"; then
        echo "$name: $(grep -E '^#[0-9]+.*DONE' "$build/fuzz-$name.log" | tail -1)"
    else
        status=1
        echo "$name: FAILED; log $build/fuzz-$name.log, input in $build/crashes/$name/" >&2
        grep -E 'ERROR|SUMMARY|Test unit written' "$build/fuzz-$name.log" >&2 || true
    fi
done
exit $status
