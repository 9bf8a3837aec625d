#!/usr/bin/env bash
# Programs of one's own, built outside this tree as a student would: install
# the build into a temporary prefix, build one C example with pkg-config and
# one C++ example with find_package(morlu), and a third through
# add_subdirectory(morlu) (which must bring no tests and no warning flags of
# ours); run each with its tape and check its snapshot's pixels.
# Usage: out_of_tree.sh SOURCE BUILD C_EXAMPLE CXX_EXAMPLE
set -euo pipefail
source_dir=$(realpath "${1:?usage: out_of_tree.sh SOURCE BUILD C_EXAMPLE CXX_EXAMPLE}")
build_dir=$(realpath "$2")
c_example=$3
cxx_example=$4
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
prefix=$work/prefix
failed=0

cmake --install "$build_dir" --prefix "$prefix" >"$work/install.log"

# Run PROGRAM with the example's tape, through the tape checker.
check_tape() {
    local program=$1 name=$2
    mkdir -p "$work/tapes-$name"
    cp "$source_dir/examples/tapes/$name.tape" "$work/tapes-$name/"
    if ! "$source_dir/tests/tapes/run_tapes.sh" "$program" "$work/tapes-$name"; then
        echo "FAILED: $name, built out of tree, with its tape"
        failed=$((failed + 1))
    fi
}

echo "== $c_example.c with pkg-config"
mkdir "$work/pc" && cd "$work/pc"
cp "$source_dir/examples/$c_example.c" .
# shellcheck disable=SC2046
cc -std=c11 -Wall -Wextra -Werror "$c_example.c" \
    $(PKG_CONFIG_PATH=$prefix/lib/pkgconfig pkg-config --cflags --libs morlu) -o "$c_example"
check_tape "$work/pc/$c_example" "$c_example"

echo "== $cxx_example.cpp with find_package(morlu)"
mkdir "$work/cm" && cd "$work/cm"
cp "$source_dir/examples/$cxx_example.cpp" .
cat >CMakeLists.txt <<CMAKE
cmake_minimum_required(VERSION 3.25)
project(own CXX)
find_package(morlu CONFIG REQUIRED)
add_executable($cxx_example $cxx_example.cpp)
target_link_libraries($cxx_example PRIVATE morlu::main)
CMAKE
cmake -S . -B build -DCMAKE_PREFIX_PATH="$prefix" >/dev/null
cmake --build build >/dev/null
check_tape "$work/cm/build/$cxx_example" "$cxx_example"

echo "== $c_example.c with add_subdirectory(morlu)"
mkdir "$work/sub" && cd "$work/sub"
cp "$source_dir/examples/$c_example.c" .
ln -s "$source_dir" morlu
cat >CMakeLists.txt <<CMAKE
cmake_minimum_required(VERSION 3.25)
project(own C)
add_subdirectory(morlu)
add_executable($c_example $c_example.c)
target_link_libraries($c_example PRIVATE morlu::main)
CMAKE
cmake -S . -B build -DCMAKE_EXPORT_COMPILE_COMMANDS=ON >/dev/null
if cmake --build build --target help | grep -qE 'morlu_(program|platform)_tests|morlu_bench|morlu-bugs'; then
    echo "FAILED: add_subdirectory(morlu) brings tests, benchmarks or the demo"
    failed=$((failed + 1))
fi
if grep -F "\"file\": \"$work/sub/$c_example.c\"" -B1 build/compile_commands.json | grep -qE -- '-W(all|extra|error)'; then
    echo "FAILED: add_subdirectory(morlu) forces warning flags on the program"
    failed=$((failed + 1))
fi
cmake --build build -j2 >/dev/null
check_tape "$work/sub/build/$c_example" "$c_example"

echo "$((3 - failed)) passed, $failed failed"
[[ $failed -eq 0 ]]
