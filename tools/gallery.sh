#!/usr/bin/env bash
# Remake the gallery pictures: run each example with its tape, in a fresh folder,
# and copy the snapshot named after the example to docs/gallery/NAME.png.
# Usage: tools/gallery.sh [BUILD_FOLDER]   (default: build)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$(realpath "${1:-$root/build}")
mkdir -p "$root/docs/gallery"
for tape in "$root"/examples/tapes/*.tape; do
    name=$(basename "$tape" .tape)
    dir=$(mktemp -d)
    (cd "$dir" && "$build/examples/$name" --tape "$tape" >/dev/null)
    cp "$dir/$name.png" "$root/docs/gallery/$name.png"
    rm -rf "$dir"
    echo "docs/gallery/$name.png"
done
