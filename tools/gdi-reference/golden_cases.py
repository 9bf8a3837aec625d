#!/usr/bin/env python3
"""Write the golden picture cases (tests/raster/golden/cases.txt): every shape
at pens null and 1 to 6, with degenerate, tiny, reversed, clipped and
off-surface boxes, even and odd sizes, ovals, thin shapes and lines in every
direction, each case a grid of shapes on one small surface."""
import sys

PENS = ["null", 1, 2, 3, 4, 5, 6]
PEN, BRUSH = "FF0000", "0000FF"

# Boxes (left, top, right, bottom) in cells of 16 x 16 pixels: tiny and
# degenerate ones, even and odd sizes, ovals, thin ones and reversed corners.
BOXES = [
    (6, 6, 7, 7), (6, 6, 8, 8), (5, 5, 8, 8), (5, 5, 9, 9), (4, 4, 11, 11), (3, 3, 13, 13),
    (2, 5, 14, 10), (5, 2, 10, 14), (3, 6, 13, 8), (7, 2, 9, 14), (6, 3, 7, 13), (3, 7, 13, 8),
    (10, 3, 10, 9), (3, 9, 12, 9), (12, 12, 4, 3), (13, 4, 3, 11),
]
# Boxes that leave the surface, on a surface of their own.
CLIPPED = [(-5, -4, 8, 9), (10, 12, 30, 25), (-3, 10, 5, 40), (14, -6, 40, 6), (-40, -40, 60, 60)]


def shape_op(kind, box, dx, dy):
    l, t, r, b = box
    return "%s %d %d %d %d" % (kind, l + dx, t + dy, r + dx, b + dy)


def pen_op(pen):
    return "pen null" if pen == "null" else "pen %d %s" % (pen, PEN)


def grid_case(name, ops_per_cell, cols=4):
    rows = (len(ops_per_cell) + cols - 1) // cols
    out = ["case %s %d %d" % (name, 16 * cols, 16 * rows)]
    for i, ops in enumerate(ops_per_cell):
        out += ops(16 * (i % cols), 16 * (i // cols))
    out.append("end")
    return out


def box_cases():
    out = []
    for kind in ("rect", "ellipse"):
        for pen in PENS:
            for brush in ("null", BRUSH):
                if pen == "null" and brush == "null":
                    continue
                cells = [lambda dx, dy, b=b: [shape_op(kind, b, dx, dy)] for b in BOXES]
                name = "%s-pen-%s-brush-%s" % (kind, pen, "none" if brush == "null" else "solid")
                out += grid_case(name, [lambda dx, dy: [pen_op(pen), "brush " + brush]] + cells)
            out.append("case %s-pen-%s-clipped 24 20" % (kind, pen))
            out += [pen_op(pen), "brush " + BRUSH] + [shape_op(kind, b, 0, 0) for b in CLIPPED[:1]]
            out.append("end")
            out.append("case %s-pen-%s-off-surface 24 20" % (kind, pen))
            out += [pen_op(pen), "brush " + BRUSH] + [shape_op(kind, b, 0, 0) for b in CLIPPED[1:]]
            out.append("end")
    return out


POLYGONS = [
    [(2, 2), (12, 2), (12, 12), (2, 12)], [(8, 1), (14, 13), (2, 13)], [(1, 3), (14, 6), (3, 13)],
    [(2, 2), (13, 13), (13, 2), (2, 13)], [(3, 2), (13, 4), (8, 8), (12, 13), (2, 12)],
    [(7, 7), (8, 7), (8, 8)], [(2, 8), (13, 8)], [(5, 5), (5, 5), (5, 5)],
]


def polygon_cases():
    out = []
    for pen in PENS:
        for brush in ("null", BRUSH):
            if pen == "null" and brush == "null":
                continue
            cells = [lambda dx, dy, p=p: ["polygon " + " ".join("%d %d" % (x + dx, y + dy) for x, y in p)]
                     for p in POLYGONS]
            name = "polygon-pen-%s-brush-%s" % (pen, "none" if brush == "null" else "solid")
            out += grid_case(name, [lambda dx, dy: [pen_op(pen), "brush " + brush]] + cells)
        out.append("case polygon-pen-%s-clipped 24 20" % pen)
        out += [pen_op(pen), "brush " + BRUSH, "polygon -10 -5 30 4 12 40", "polygon 20 2 60 10 22 -30"]
        out.append("end")
    return out


# Directions of lines from a cell's centre: the axes, the diagonals, shallow
# and steep slopes, exact halves and Pythagorean ones, in all octants.
DIRECTIONS = [(6, 0), (6, 1), (6, 3), (5, 5), (3, 6), (1, 6), (0, 6), (4, 3), (3, 4), (1, 0), (0, 1), (0, 0)]


def line_cases():
    out = []
    for pen in PENS[1:]:
        for sx, sy in ((1, 1), (-1, 1), (1, -1), (-1, -1)):
            cells = [lambda dx, dy, d=d: ["line %d %d %d %d" % (8 + dx, 8 + dy, 8 + dx + sx * d[0], 8 + dy + sy * d[1])]
                     for d in DIRECTIONS]
            name = "line-pen-%d-%s%s" % (pen, "right" if sx > 0 else "left", "down" if sy > 0 else "up")
            out += grid_case(name, [lambda dx, dy: [pen_op(pen)]] + cells)
        out.append("case line-pen-%d-long 48 32" % pen)
        out += [pen_op(pen), "line 2 6 46 4", "line 3 30 44 12", "line 40 2 30 30", "line -20 -20 60 40",
                "line -100 16 100 17", "line 24 -3000 25 3000"]
        out.append("end")
    return out


# The smallest cases that told the platform's rules apart from earlier guesses.
MINIMAL = """case minimal-null-pen-zero-width 24 16
pen null
brush 0000FF
rect 10 3 10 9
end
case minimal-pen-3-rectangle-corners 24 16
pen 3 FF0000
brush null
rect 5 4 15 11
end
case minimal-one-pixel-boxes 40 12
pen 2 FF0000
rect 6 6 7 7
pen 3 FF0000
rect 14 6 15 7
pen 4 FF0000
rect 22 6 23 7
pen 5 FF0000
rect 31 6 32 7
end
case minimal-wide-lines 32 16
pen 2 FF0000
line 6 4 14 4
line 3 8 10 15
line 2 12 22 10
pen 4 FF0000
line 18 5 26 5
end
case minimal-ellipses 40 24
pen 1 FF0000
brush null
ellipse 3 3 19 19
ellipse 22 3 31 6
pen null
brush 0000FF
ellipse 22 8 24 18
ellipse 28 8 29 18
pen 3 FF0000
brush null
ellipse 30 14 37 21
end
"""


def main():
    lines = box_cases() + polygon_cases() + line_cases()
    text = "# Generated by tools/gdi-reference/golden_cases.py: device-pixel cases drawn by the\n" \
           "# reference renderer and, in the tests, by our rasteriser.\n" + "\n".join(lines) + "\n" + MINIMAL
    sys.stdout.write(text)


if __name__ == "__main__":
    main()
