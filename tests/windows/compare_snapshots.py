#!/usr/bin/env python3
"""Compare the snapshots of the Linux and Windows editions, pixel for pixel,
outside the text.

Usage: compare_snapshots.py PALETTE_SOURCE LINUX_DIR WINDOWS_DIR

Every PNG under LINUX_DIR must exist under WINDOWS_DIR with the same size and
the same pixels, except near text. The editions draw text with different font
services, while every shape goes through the same rasteriser. Shapes are drawn
only in the palette's colours and are never blended; glyphs are blended in
grey. So a pixel belongs to the text when, in either picture, a pixel within
TEXT_REACH of it has a colour outside the palette. A differing pixel anywhere
else fails. The palette is read from the runtime's source (PALETTE_SOURCE).
"""
import pathlib
import re
import subprocess
import sys

# Hinted strokes and bars are fully covered, in the text colour, up to this far
# from the nearest blended pixel of their glyph; the reach also covers the edge
# of an opaque text cell.
TEXT_REACH = 5


def palette(source):
    text = pathlib.Path(source).read_text()
    colours = {bytes(map(int, m)) for m in re.findall(r"rgb\((\d+),\s*(\d+),\s*(\d+)\)", text)}
    if len(colours) < 20:
        sys.exit(f"{source}: found only {len(colours)} palette colours")
    return colours


def pixels(path):
    size = subprocess.run(["identify", "-format", "%w %h", str(path)], capture_output=True, text=True, check=True)
    w, h = map(int, size.stdout.split())
    raw = subprocess.run(["convert", str(path), "-depth", "8", "rgb:-"], capture_output=True, check=True).stdout
    if len(raw) != w * h * 3:
        sys.exit(f"{path}: cannot read its pixels")
    return w, h, raw


def text_pixels(w, h, raw, colours):
    """Pixels within TEXT_REACH of a colour outside the palette."""
    near = set()
    for i in range(w * h):
        if raw[i * 3:i * 3 + 3] in colours:
            continue
        x, y = i % w, i // w
        for dy in range(-TEXT_REACH, TEXT_REACH + 1):
            for dx in range(-TEXT_REACH, TEXT_REACH + 1):
                near.add((x + dx, y + dy))
    return near


def compare(linux, windows, colours):
    """A line naming what differs outside the text, or None."""
    if not windows.exists():
        return f"{windows}: missing"
    w, h, a = pixels(linux)
    w2, h2, b = pixels(windows)
    if (w, h) != (w2, h2):
        return f"{windows}: {w2}x{h2}, the Linux edition's is {w}x{h}"
    differing = []
    stride = w * 3
    for y in range(h):
        if a[y * stride:(y + 1) * stride] == b[y * stride:(y + 1) * stride]:
            continue
        differing += [(x, y) for x in range(w) if a[y * stride + x * 3:y * stride + x * 3 + 3] !=
                      b[y * stride + x * 3:y * stride + x * 3 + 3]]
    if not differing:
        return None
    text = text_pixels(w, h, a, colours) | text_pixels(w, h, b, colours)
    outside = [p for p in differing if p not in text]
    if not outside:
        return None
    x, y = outside[0]
    return (f"{windows}: {len(outside)} pixels differ outside the text, the first at ({x}, {y}): "
            f"{a[(y * w + x) * 3:(y * w + x) * 3 + 3].hex()} on Linux, "
            f"{b[(y * w + x) * 3:(y * w + x) * 3 + 3].hex()} on Windows")


def main():
    if len(sys.argv) != 4:
        sys.exit(__doc__)
    colours = palette(sys.argv[1])
    linux_dir, windows_dir = pathlib.Path(sys.argv[2]), pathlib.Path(sys.argv[3])
    pictures = sorted(linux_dir.rglob("*.png"))
    failures = [f for f in (compare(p, windows_dir / p.relative_to(linux_dir), colours) for p in pictures) if f]
    for failure in failures:
        print(failure)
    print(f"{len(pictures) - len(failures)} of {len(pictures)} snapshots equal outside the text")
    return 1 if failures or not pictures else 0


if __name__ == "__main__":
    sys.exit(main())
