#!/usr/bin/env python3
"""Draw a seeded set of random shapes with the platform (the reference
renderer under Wine) and with our rasteriser, and print how far they agree:
per shape class and pen width, the share of cases that are identical and the
share of painted pixels (pixels either side painted) that agree.

Usage: tools/pixel-agreement.py [--count N] [--seed S] [--show K] [--only CLASS]
Needs Wine and MinGW-w64 (Debian packages wine64 and gcc-mingw-w64-x86-64)
and builds the targets it needs in build/."""
import argparse
import os
import random
import re
import subprocess
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "gdi-reference"))
import gdi_raw  # noqa: E402

PENS = ["null", 1, 2, 3, 4, 5, 6]
SIZE = 40
PEN_COLOUR, BRUSH_COLOUR = "FF0000", "0000FF"


def coordinate(rng):
    """Mostly on the surface, sometimes just off it, rarely far away (not at
    the int32 limits: Wine's own drawing crashes on ellipses that large)."""
    roll = rng.random()
    if roll < 0.85:
        return rng.randint(-3, SIZE + 2)
    if roll < 0.97:
        return rng.randint(-20, SIZE + 20)
    return rng.choice([-1000, -300, 300, 1000])


def box(rng):
    """Small boxes (tiny and degenerate ones often) or any box."""
    if rng.random() < 0.4:
        x, y = rng.randint(-2, SIZE), rng.randint(-2, SIZE)
        w, h = rng.randint(-3, 6), rng.randint(-3, 6)
        return [x, y, x + w, y + h]
    return [coordinate(rng) for _ in range(4)]


def shape_case(rng, kind, pen):
    ops = ["pen null" if pen == "null" else "pen %d %s" % (pen, PEN_COLOUR)]
    ops.append("brush null" if kind != "line" and rng.random() < 0.3 else "brush " + BRUSH_COLOUR)
    if kind in ("rect", "ellipse"):
        ops.append("%s %d %d %d %d" % tuple([kind] + box(rng)))
    elif kind == "line":
        if rng.random() < 0.5:
            x, y = rng.randint(0, SIZE), rng.randint(0, SIZE)
            ops.append("line %d %d %d %d" % (x, y, x + rng.randint(-12, 12), y + rng.randint(-12, 12)))
        else:
            ops.append("line %d %d %d %d" % tuple(coordinate(rng) for _ in range(4)))
    else:
        n = rng.randint(3, 6)
        ops.append("polygon " + " ".join(str(coordinate(rng)) for _ in range(2 * n)))
    return ops


def cases(count, seed):
    rng = random.Random(seed)
    out = []
    for kind in ("rect", "ellipse", "polygon", "line"):
        for pen in PENS:
            if kind == "line" and pen == "null":
                continue
            for i in range(count):
                out.append(("%s-%s-%d" % (kind, pen, i), kind, pen, shape_case(rng, kind, pen)))
    return out


def ops_text(case_list):
    lines = []
    for name, _, _, ops in case_list:
        lines.append("case %s %d %d" % (name, SIZE, SIZE))
        lines += ops
        lines.append("end")
    return "\n".join(lines) + "\n"


def compare(a, b, reach=None):
    """(identical, painted pixels, agreeing painted pixels), counting only
    pixels inside `reach` (x0, y0, x1, y1) when given."""
    painted = agree = 0
    for i, (p, q) in enumerate(zip(a, b)):
        if reach and not (reach[0] <= i % SIZE <= reach[2] and reach[1] <= i // SIZE <= reach[3]):
            continue
        if p != 0xFFFFFF or q != 0xFFFFFF:
            painted += 1
            agree += p == q
    return a == b, painted, agree


def reach_of(ops):
    """The box a case's shape can paint: its points or box grown by the pen."""
    pen = 1 if ops[0] == "pen null" else int(ops[0].split()[1])
    nums = [int(v) for v in ops[2].split()[1:]]
    xs, ys = nums[0::2], nums[1::2]
    return (min(xs) - pen, min(ys) - pen, max(xs) + pen, max(ys) + pen)


def show(name, ops, ref, ours, w):
    print("--", name, "|", "; ".join(ops))
    for y in range(len(ref) // w):
        row = lambda px: "".join(".RBx"[[0xFFFFFF, 0xFF0000, 0x0000FF].index(p) if p in
                                       (0xFFFFFF, 0xFF0000, 0x0000FF) else 3] for p in px[y * w:(y + 1) * w])
        r, o = row(ref), row(ours)
        if r != o or any(c != "." for c in r):
            print("%3d %s  %s %s" % (y, r, o, "" if r == o else "<"))


def palette():
    """Colour names of the runtime's palette, from its source."""
    text = open(os.path.join(gdi_raw.ROOT, "runtime", "palette.cpp")).read()
    return {name: "%02X%02X%02X" % (int(r), int(g), int(b))
            for name, r, g, b in re.findall(r'\{"([^"]+)", rgb\((\d+), (\d+), (\d+)\)\}', text)}


def frame_ops(build, with_shapes=True, with_text=False):
    """A landscape frame as device operations, from the shapes the runtime
    logs (morlu-frame-log), mapped to the platform's calls as the runtime
    makes them: boxes and circles exclusive on the right and bottom, filled
    shapes outlined with a one-pixel pen of their colour."""
    out = subprocess.run([os.path.join(build, "tools", "morlu-frame-log")], capture_output=True, text=True,
                         check=True).stdout.splitlines()
    w, h, ox, oy = map(int, re.match(r"frame (\d+) (\d+) origin (\d+) (\d+)", out[0]).groups())
    colours = palette()
    names = sorted(colours, key=len, reverse=True)
    ops = ["case frame %d %d" % (w, h), "bkmode transparent"]
    for line in out[1:]:
        desc = line[len("shape "):]
        name = next(n for n in names if desc.startswith(n + " "))
        c, rest = colours[name], desc[len(name) + 1:]
        nums = [int(v) for v in re.findall(r"-?\d+", rest.split('"')[0])]
        dx = lambda v: ox + v
        dy = lambda v: oy - v
        filled = ["pen 1 " + c, "brush " + c]
        if rest.startswith("text") and with_text:
            ops += ["textcolor " + c, "font MORLU-font -12 400",
                    "text %d %d %s" % (dx(nums[0]), dy(nums[1]), rest.split('"', 1)[1].rsplit('"', 1)[0])]
        if not with_shapes or rest.startswith("text"):
            continue
        if rest.startswith("rectangle"):
            x1, y1, x2, y2 = nums[:4]
            pen = filled if rest.endswith("filled") else ["pen %d %s" % (nums[4], c), "brush null"]
            ops += pen + ["rect %d %d %d %d" % (dx(x1), dy(y1), dx(x2 + 1), dy(y2 - 1))]
        elif rest.startswith("circle"):
            x, y, r = nums[:3]
            ops += filled + ["ellipse %d %d %d %d" % (dx(x - r), dy(y + r), dx(x + r + 1), dy(y - r - 1))]
        elif rest.startswith("triangle"):
            ops += filled + ["polygon " + " ".join("%d %d" % (dx(nums[i]), dy(nums[i + 1])) for i in (0, 2, 4))]
        elif rest.startswith("line"):
            ops += ["pen %d %s" % (nums[4], c), "line %d %d %d %d" % (dx(nums[0]), dy(nums[1]), dx(nums[2]), dy(nums[3]))]
    return "\n".join(ops + ["end"]) + "\n"


def compare_frame(exe, work, build, with_shapes, with_text):
    """(pixels compared, pixels agreeing): every pixel of the shape frame, the
    painted ones (either side) of the text frame."""
    text = frame_ops(build, with_shapes, with_text)
    ref, _ = gdi_raw.run_reference(exe, text, work)
    ours, _ = gdi_raw.run_ours(os.path.join(build, "tools", "morlu-raster-ops"), text)
    a, b = ref["frame"][2], ours["frame"][2]
    if with_shapes:
        return len(a), sum(p == q for p, q in zip(a, b)), 0
    _, painted, agree = compare(a, b)
    dark = lambda p: sum((p >> k) & 255 for k in (0, 8, 16)) < 3 * 128
    same_ink = sum(dark(p) == dark(q) for p, q in zip(a, b) if p != 0xFFFFFF or q != 0xFFFFFF)
    return painted, agree, same_ink


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("--count", type=int, default=100, help="cases per shape class and pen")
    ap.add_argument("--seed", type=int, default=11)
    ap.add_argument("--show", type=int, default=0, help="print this many differing cases")
    ap.add_argument("--only", default="", help="a shape class: rect, ellipse, polygon, line")
    ap.add_argument("--build", default=os.path.join(gdi_raw.ROOT, "build"))
    args = ap.parse_args()
    subprocess.run(["cmake", "--build", args.build, "--target", "morlu-raster-ops", "morlu-frame-log"], check=True,
                   stdout=subprocess.DEVNULL)
    case_list = [c for c in cases(args.count, args.seed) if not args.only or c[1] == args.only]
    text = ops_text(case_list)
    work = os.path.join(args.build, "gdi-reference")
    exe = gdi_raw.build_reference(work)
    ref, _ = gdi_raw.run_reference(exe, text, work)
    ours, _ = gdi_raw.run_ours(os.path.join(args.build, "tools", "morlu-raster-ops"), text)
    # Wine can leave stale spans of earlier ellipses on some long thin ones
    # (rows of them outside the shape); a case that differs is drawn again
    # alone, in a fresh reference process, and that picture counts.
    redrawn = 0
    for case in case_list:
        name = case[0]
        if ref[name][2] != ours[name][2] and redrawn < 100:
            redrawn += 1
            ref[name] = gdi_raw.run_reference(exe, ops_text([case]), work)[0][name]
    table, shown = {}, 0
    for name, kind, pen, ops in case_list:
        same, painted, agree = compare(ref[name][2], ours[name][2])
        _, near, near_agree = compare(ref[name][2], ours[name][2], reach_of(ops))
        row = table.setdefault((kind, pen), [0, 0, 0, 0, 0, 0])
        for i, v in enumerate((1, same, painted, agree, near, near_agree)):
            row[i] += v
        if not same and shown < args.show:
            shown += 1
            show(name, ops, ref[name][2], ours[name][2], SIZE)
    print("Reference: %s; %d cases, seed %d; %d differing cases drawn again alone\n"
          % (gdi_raw.wine_version(), len(case_list), args.seed, redrawn))
    print("| shape | pen | cases | cases identical | pixels agreeing | within the shape's reach |")
    print("|---|---|---|---|---|---|")
    percent = lambda part, whole: 100 * part / whole if whole else 100
    for (kind, pen), (n, same, painted, agree, near, near_agree) in table.items():
        print("| %s | %s | %d | %.1f %% | %.3f %% | %.3f %% |" % (kind, pen, n, percent(same, n),
                                                               percent(agree, painted), percent(near_agree, near)))
    if not args.only:
        n, agree, _ = compare_frame(exe, work, args.build, True, False)
        print("| landscape frame without text | | 1 | %s | %.3f %% (%d of %d pixels differ) | |"
              % ("100.0 %" if n == agree else "0.0 %", 100 * agree / n, n - agree, n))
        n, agree, ink = compare_frame(exe, work, args.build, False, True)
        print("| its text alone (help and labels) | | 1 | 0.0 %% | %.1f %% of %d painted pixels; "
              "%.1f %% on the same side of half ink | |" % (100 * agree / n, n, 100 * ink / n))


if __name__ == "__main__":
    main()
