#!/usr/bin/env bash
# The zip for Windows users, unpacked in a fresh folder: its demo runs the demo's
# tapes under Wine, and the build command of its README makes a program from an
# example's source that runs its tape.
# Usage: package_check.sh ZIP
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
zip=$(realpath "${1:?usage: package_check.sh ZIP}")
export MORLU_RUN_WITH=${MORLU_WINE:-/usr/lib/wine/wine64}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

cd "$work"
unzip -q "$zip"
cd morlu-windows-*/
"$root/tests/tapes/run_tapes.sh" morlu-bugs.exe "$root/tests/tapes"

# The README's command, as a student would type it, for its example shapes.c.
command=$(grep -m1 '^  x86_64-w64-mingw32-gcc' README.txt | tr -d '\r')
[[ $command == *"-o shapes.exe"* ]] || { echo "package_check: README.txt has no build command for shapes.exe" >&2; exit 1; }
rm -f shapes.exe
eval "$command"
"$root/tests/tapes/run_tapes.sh" shapes.exe examples/shapes.tape
