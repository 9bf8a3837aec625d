#!/usr/bin/env bash
# The example assignment through the installed morlu-check: the reference
# scores full marks against itself (as a folder and as a zip with a top
# folder), the one-pixel submission loses exactly the draw tape's points with
# a difference picture marking the squares, the crash reads "crashed
# (segmentation fault)", the loop "timed out", the compile error shows the
# compiler's message, the reference's own GIFs are recorded again byte for
# byte, every results.json is Gradescope's format, and
# report.html opens in headless Chromium with every picture.
# Usage: example_assignment.sh PREFIX   (where morlu and morlu-check are installed)
set -euo pipefail
prefix=$(realpath "${1:?usage: example_assignment.sh PREFIX}")
source_dir=$(realpath "$(dirname "$0")/../..")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# Reachable by the workers' own users, when the checker runs as root under limits alone.
chmod 755 "$work"
export PKG_CONFIG_PATH=$prefix/lib/pkgconfig

assignment=$source_dir/examples/assignment
cp -r "$assignment/submissions" "$work/submissions"
cp -r "$assignment/reference" "$work/submissions/reference_itself"
mkdir -p "$work/zip/top" && cp "$assignment/reference/"* "$work/zip/top/"
(cd "$work/zip" && python3 -c 'import zipfile; z = zipfile.ZipFile("../submissions/zipped.zip", "w"); z.write("top/draw.c")')

"$prefix/bin/morlu-check" "$assignment" "$work/submissions" -o "$work/out" -j2

python3 - "$work/out" <<'PY'
import csv, json, struct, sys, zlib, os

out = sys.argv[1]
failed = []

def check(ok, what):
    if not ok:
        failed.append(what)
        print("FAILED:", what)

rows = {r["student"]: r for r in csv.DictReader(open(os.path.join(out, "grades.csv")))}
for student in ("correct", "reference_itself", "zipped"):
    check(rows.get(student, {}).get("total") == "4", f"{student} scores 4 of 4: {rows.get(student)}")
off = rows.get("off_by_one", {})
check((off.get("start.tape"), off.get("draw.tape"), off.get("clear.tape")) == ("1", "0", "1"),
      f"off_by_one loses the draw tape's points alone: {off}")

def results(student):
    return json.load(open(os.path.join(out, student, "results.json")))

def statuses(student):
    return [t["output"].split("\n")[0] for t in results(student)["tests"]]

check(statuses("crash")[1:] == ["crashed (segmentation fault)"] * 2, f"crash: {statuses('crash')}")
check(statuses("endless_loop")[1:] == ["timed out"] * 2, f"endless_loop: {statuses('endless_loop')}")
check(all("cuont" in t["output"] for t in results("compile_error")["tests"]),
      "compile_error shows the compiler's message")
for student in rows:
    r = results(student)
    check(set(r) == {"score", "tests"} and all(set(t) == {"name", "score", "max_score", "status", "output"}
                                               for t in r["tests"]), f"{student}/results.json is Gradescope's")

def png_rgb(path):
    data = open(path, "rb").read()
    pos, idat = 8, b""
    while pos < len(data):
        n, kind = struct.unpack(">I4s", data[pos:pos + 8])
        body = data[pos + 8:pos + 8 + n]
        if kind == b"IHDR":
            w, h, depth, colour = struct.unpack(">IIBB", body[:10])
        elif kind == b"IDAT":
            idat += body
        pos += 12 + n
    assert depth == 8 and colour == 2
    raw, stride, rows, prev = zlib.decompress(idat), w * 3, [], bytearray(w * 3)
    for y in range(h):
        f, line = raw[y * (stride + 1)], bytearray(raw[y * (stride + 1) + 1:(y + 1) * (stride + 1)])
        for i in range(stride):
            a = line[i - 3] if i >= 3 else 0
            b, c = prev[i], prev[i - 3] if i >= 3 else 0
            if f == 1: line[i] = (line[i] + a) & 255
            elif f == 2: line[i] = (line[i] + b) & 255
            elif f == 3: line[i] = (line[i] + (a + b) // 2) & 255
            elif f == 4:
                p = a + b - c
                pa, pb, pc = abs(p - a), abs(p - b), abs(p - c)
                line[i] = (line[i] + (a if pa <= pb and pa <= pc else b if pb <= pc else c)) & 255
        rows.append(bytes(line))
        prev = line
    return w, h, rows

# The difference picture marks the squares' left and right edges, and nothing else.
w, h, rows = png_rgb(os.path.join(out, "off_by_one", "tape1-draw-difference.png"))
red = [(x, y) for y in range(h) for x in range(w) if rows[y][3 * x:3 * x + 3] == b"\xff\x00\x00"]
clicks = [(100, 100), (300, 250), (450, 400)]
check(len(red) > 0 and all(any(abs(x - cx) <= 17 and abs(y - cy) <= 17 for cx, cy in clicks) for x, y in red),
      f"red marks only the squares' edges: {len(red)} pixels")
check(all(any(abs(x - cx) <= 17 and abs(y - cy) <= 17 for x, y in red) for cx, cy in clicks),
      "each square is marked")
# The reference checked as a student records the very GIFs the reference did.
for tape in range(3):
    mine = os.path.join(out, "reference_itself", f"tape{tape}.gif")
    theirs = os.path.join(out, "reference", f"tape{tape}.gif")
    check(os.path.exists(theirs) and open(mine, "rb").read() == open(theirs, "rb").read(),
          f"tape{tape}.gif of reference_itself is the reference's, byte for byte")
report = open(os.path.join(out, "report.html")).read()
check("crashed (segmentation fault)" in report and "cuont" in report, "report.html shows the crash and the compiler")
print(f"{len(failed)} failed")
sys.exit(1 if failed else 0)
PY
"$(dirname "$0")/report_in_chromium.sh" "$work/out/report.html"
