#!/usr/bin/env bash
# The Windows edition's tests, run under Wine: cross-build it (installing
# MinGW-w64 and Wine when missing), run its unit tests and the demo's and the
# examples' tapes, check that its snapshots equal the Linux edition's outside
# the text, check the zip for Windows users (its documents, its commands as
# written, both MinGW-w64 compilers, a program started from a console), and
# drive the desktop program and the runaway programs on a private X server.
# Needs the Linux edition built in build/ (tools/test.sh builds it first).
set -euo pipefail
cd "$(dirname "$0")/.."
export WINEPREFIX=$PWD/build-windows/wine-prefix WINEDEBUG=-all
# Nothing but the desktop check needs a display; a session's own must not be used.
unset DISPLAY

echo "== Windows: cross build"
tools/build-windows.sh

# One Wine server for every test, started with its services outside the tests:
# otherwise each test program starts (and waits for) a server of its own.
# The build does not run Wine, so the prefix may not exist yet.
wine_dir=/usr/lib/wine
mkdir -p "$WINEPREFIX"
"$wine_dir/wineserver" -p
trap '"$wine_dir/wineserver" -k 2>/dev/null || true' EXIT
"$wine_dir/wine64" wineboot >/dev/null 2>&1

echo "== Windows: unit tests and tapes under Wine"
# Wine now and then fails to start a program at all (no output, no time): a
# test gets one more run, so only a test that fails twice fails the check.
(cd build-windows && ctest -j"${MORLU_JOBS:-$(nproc)}" --output-on-failure --repeat until-pass:2)

echo "== Windows: snapshots equal the Linux edition's outside the text"
[[ -x build/app/morlu-bugs ]] || { echo "test-windows: build the Linux edition in build/ first" >&2; exit 1; }
tests/windows/same_snapshots.sh build build-windows

echo "== Windows: the zip for Windows users: its demo, documents and commands, both compilers, the console"
tests/windows/package_check.sh "$(tools/package-windows.sh)"

echo "== Windows: the desktop program and the runaway programs under Wine on Xvfb"
tests/windows/desktop_wine.sh build-windows/app/morlu-bugs.exe
