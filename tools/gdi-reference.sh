#!/usr/bin/env bash
# Regenerate every golden picture. The shape cases are drawn by the reference
# renderer, a Win32 program of ours calling the platform's drawing service
# under Wine (Debian packages wine64 and gcc-mingw-w64-x86-64);
# the whole frames are drawn by our own renderer once it matches. Run from a
# clone with Wine installed; the tests themselves never need Wine.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
wine_version=$(/usr/lib/wine/wine64 --version)
if [[ "$wine_version" != "wine-8.0 (Debian 8.0~repack-4)" ]]; then
    echo "warning: the pictures were made with wine-8.0 (Debian 8.0~repack-4), this is $wine_version" >&2
fi
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" -j2 --target morlu_program_tests morlu_platform_tests >/dev/null
python3 tools/gdi-reference/regenerate.py "$build"
MORLU_UPDATE_GOLDEN=1 "$build/tests/morlu_program_tests" --gtest_filter='FrameGolden.*' >/dev/null
echo "frame pictures rewritten in tests/raster/golden/frames"
MORLU_UPDATE_GOLDEN=1 "$build/tests/morlu_platform_tests" --gtest_filter='ShapesFuzz.*' >/dev/null
echo "piles of random shapes rewritten in tests/raster/golden/piles"
