#!/usr/bin/env bash
# Zipped submissions that try to escape or to exhaust the checker while it
# unpacks them: names with "..", absolute names, a symbolic link, a file that
# unpacks to far more than its limit (a zip bomb), too many files. Each is
# reported as not unpacked, nothing is written outside the checker's folders,
# and a sound zip beside them still scores full marks.
# Usage: unsafe_zips.sh PREFIX   (where morlu and morlu-check are installed)
set -euo pipefail
prefix=$(realpath "${1:?usage: unsafe_zips.sh PREFIX}")
assignment=$(realpath "$(dirname "$0")/../../examples/assignment")
work=$(mktemp -d)
trap 'rm -rf "$work" /tmp/morlu-zip-escape.c' EXIT
chmod 755 "$work"
export PKG_CONFIG_PATH=$prefix/lib/pkgconfig
mkdir "$work/submissions"

python3 - "$work/submissions" "$assignment/reference/draw.c" <<'PY'
import sys, zipfile

folder, reference = sys.argv[1], open(sys.argv[2]).read()

def make(name, entries):
    with zipfile.ZipFile(f"{folder}/{name}.zip", "w", zipfile.ZIP_DEFLATED) as z:
        for entry in entries:
            entry(z)

def file(name, text):
    return lambda z: z.writestr(name, text)

def link(name, target):
    def add(z):
        info = zipfile.ZipInfo(name)
        info.external_attr = (0o120777 << 16)
        z.writestr(info, target)
    return add

make("sound", [file("draw.c", reference)])
make("dot_dot", [file("draw.c", reference), file("../../../../../../tmp/morlu-zip-escape.c", "x")])
make("absolute", [file("draw.c", reference), file("/tmp/morlu-zip-escape.c", "x")])
make("link", [link("draw.c", "/etc/passwd")])
make("bomb", [file("draw.c", reference + "/*" + " " * (64 << 20) + "*/\n")])
make("many", [file("draw.c", reference)] + [file(f"f{i}.c", "") for i in range(1000)])
open(f"{folder}/not_a.zip", "w").write("this is not a zip")
PY

"$prefix/bin/morlu-check" "$assignment" "$work/submissions" -o "$work/out" 2>/dev/null

python3 - "$work/out" <<'PY'
import os, sys, tomllib

out = sys.argv[1]
failed = []

def result(student):
    return tomllib.load(open(os.path.join(out, student, "result.toml"), "rb"))

def check(ok, what):
    if not ok:
        failed.append(what)
        print("FAILED:", what)

check(sum(t["points"] for t in result("sound")["tape"]) == 4, "the sound zip scores 4")
for student, words in [("dot_dot", "outside"), ("absolute", "outside"), ("bomb", "larger than"),
                       ("many", "more than"), ("not_a", "not a readable zip")]:
    error = result(student)["unpack_error"]
    check(words in error, f"{student}: not unpacked, saying {words!r}: {error!r}")
# A link is left out, so nothing matches the globs.
check("no source file" in result("link")["unpack_error"], f"link: {result('link')['unpack_error']!r}")
print(f"{len(failed)} failed")
sys.exit(1 if failed else 0)
PY
if [[ -e /tmp/morlu-zip-escape.c ]]; then
    echo "FAILED: a zip wrote outside its folder"
    exit 1
fi
