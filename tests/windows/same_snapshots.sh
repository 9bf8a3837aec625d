#!/usr/bin/env bash
# Run the demo's and the examples' tapes with both editions, the Windows one
# under Wine, and check that their snapshots are equal outside the text
# (compare_snapshots.py says why text is left out and how it is found).
# Usage: same_snapshots.sh LINUX_BUILD_DIR WINDOWS_BUILD_DIR
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
linux=$(realpath "${1:?usage: same_snapshots.sh LINUX_BUILD WINDOWS_BUILD}")
windows=$(realpath "${2:?usage: same_snapshots.sh LINUX_BUILD WINDOWS_BUILD}")
wine=${MORLU_WINE:-/usr/lib/wine/wine64}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# run EDITION NAME TAPE COMMAND...: the tape in a folder of its own.
run() {
    local dir=$work/$1/$2
    mkdir -p "$dir"
    cp "$3" "$dir/tape"
    (cd "$dir" && timeout 60 "${@:4}" --tape tape >stdout 2>&1) || true
}

for tape in "$root"/tests/tapes/*.tape; do
    name=$(basename "$tape" .tape)
    run linux "$name" "$tape" "$linux/app/morlu-bugs"
    run windows "$name" "$tape" "$wine" "$windows/app/morlu-bugs.exe"
done
for tape in "$root"/examples/tapes/*.tape; do
    name=$(basename "$tape" .tape)
    run linux "$name" "$tape" "$linux/examples/$name"
    run windows "$name" "$tape" "$wine" "$windows/examples/$name.exe"
done
"$here/compare_snapshots.py" "$root/runtime/palette.cpp" "$work/linux" "$work/windows"
