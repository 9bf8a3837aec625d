#!/usr/bin/env python3
"""Regenerate the golden pictures of the shape cases: write the case list,
draw it with the reference renderer under Wine and save each case as a PNG
in tests/raster/golden/. Usage: regenerate.py BUILD_DIR"""
import glob
import os
import subprocess
import sys

import gdi_raw

GOLDEN = os.path.join(gdi_raw.ROOT, "tests", "raster", "golden")


def main():
    build = os.path.abspath(sys.argv[1] if len(sys.argv) > 1 else os.path.join(gdi_raw.ROOT, "build"))
    work = os.path.join(build, "gdi-reference")
    cases = subprocess.run([sys.executable, os.path.join(gdi_raw.HERE, "golden_cases.py")], check=True,
                           capture_output=True, text=True).stdout
    with open(os.path.join(GOLDEN, "cases.txt"), "w") as f:
        f.write(cases)
    pictures, _ = gdi_raw.run_reference(gdi_raw.build_reference(work), cases, work)
    for old in glob.glob(os.path.join(GOLDEN, "*.png")):
        os.remove(old)
    for name, (w, h, pixels) in pictures.items():
        gdi_raw.write_png(os.path.join(GOLDEN, name + ".png"), w, h, pixels)
    print("%d reference pictures from %s" % (len(pictures), gdi_raw.wine_version()))


if __name__ == "__main__":
    main()
