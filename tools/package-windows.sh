#!/usr/bin/env bash
# Make the zip for Windows users: the demo, the examples (programs, sources,
# tapes and their README), the header, libmorlu.a and libmorlu_main.a, a README
# and the first-program page for Windows (docs/first-program.md, which canvas.h
# and the Run menu name).
# Builds the Windows edition first (tools/build-windows.sh). Prints the zip's path.
set -euo pipefail
cd "$(dirname "$0")/.."
tools/build-windows.sh >&2

version=$(sed -n 's/^project(morlu VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
name=morlu-windows-$version
stage=build-windows/package/$name
rm -rf "build-windows/package"
mkdir -p "$stage/examples" "$stage/include/morlu" "$stage/lib" "$stage/docs"

cp build-windows/app/morlu-bugs.exe "$stage/"
for tape in examples/tapes/*.tape; do
    example=$(basename "$tape" .tape)
    cp "build-windows/examples/$example.exe" "$tape" "$stage/examples/"
    cp examples/"$example".c* "$stage/examples/"  # its source: .c or .cpp
done
cp examples/README-windows.md "$stage/examples/README.md"
cp docs/first-program-windows.md "$stage/docs/first-program.md"
cp runtime/include/morlu/canvas.h "$stage/include/morlu/"
cp build-windows/entry/libmorlu.a build-windows/entry/libmorlu_main.a "$stage/lib/"
# Windows' Notepad of old shows only lines that end in CR LF.
sed 's/$/\r/' tools/windows/README-windows.txt >"$stage/README.txt"
# The programs go without their symbol tables, and the libraries without any
# debugging information a build configured otherwise would add (ten times their
# size). The libraries keep their file symbols: the guard against the
# win32-threads compiler names the compiler to use through one.
x86_64-w64-mingw32-strip "$stage"/*.exe "$stage"/examples/*.exe
x86_64-w64-mingw32-strip --strip-debug --keep-file-symbols "$stage"/lib/*.a

(cd build-windows/package && zip -qr "$name.zip" "$name")
echo "build-windows/package/$name.zip"
