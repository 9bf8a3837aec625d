#!/usr/bin/env bash
# Hostile submissions, checked together with a correct one at -j2: reading or
# changing other submissions, the reference or the results, writing outside
# their folder, network connections, a fork bomb, memory, disk (one file, many
# files), endless output, a process left behind, files named like results.
# Each is contained (nothing outside its folder changes, nothing it should not
# see is read, no connection arrives, no process is left) and reported, and the
# correct submission's result is the same as when it is checked alone.
# Usage: hostile_submissions.sh PREFIX   (where morlu and morlu-check are installed)
set -euo pipefail
prefix=$(realpath "${1:?usage: hostile_submissions.sh PREFIX}")
here=$(realpath "$(dirname "$0")")
source_dir=$(realpath "$here/../..")
work=$(mktemp -d)
listener=
cleanup() {
    [[ -n $listener ]] && kill "$listener" 2>/dev/null
    rm -rf "$work" /tmp/morlu-hostile-canary
}
trap cleanup EXIT
export PKG_CONFIG_PATH=$prefix/lib/pkgconfig

# A copy of the assignment, so that a change to it would be seen.
cp -r "$source_dir/examples/assignment" "$work/assignment"
rm -rf "$work/assignment/submissions"
assignment=$work/assignment
submissions=$work/submissions
out=$work/out
canary=/tmp/morlu-hostile-canary
# Two correct submissions: one checked early, one named to be checked beside the fork bomb.
mkdir -p "$submissions/correct" "$submissions/fork_neighbour"
cp "$assignment/reference/draw.c" "$submissions/correct/"
cp "$assignment/reference/draw.c" "$submissions/fork_neighbour/"

# A listener on this machine's loopback that records any connection.
port=$(python3 -c 'import socket; s = socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])')
python3 - "$port" "$work/connections" <<'PY' &
import socket, sys
s = socket.socket()
s.setsockopt(socket.SOL_SOCKET, socket.SO_REUSEADDR, 1)
s.bind(("127.0.0.1", int(sys.argv[1])))
s.listen(8)
while True:
    c, _ = s.accept()
    open(sys.argv[2], "a").write("connection\n")
    c.close()
PY
listener=$!

# Each hostile part runs first thing in app_main of a copy of the reference.
for part in "$here"/hostile/*.c.in; do
    name=$(basename "$part" .c.in)
    mkdir -p "$submissions/$name"
    sed -e "s|@ASSIGNMENT@|$assignment|g" -e "s|@SUBMISSIONS@|$submissions|g" -e "s|@OUT@|$out|g" \
        -e "s|@CANARY@|$canary|g" -e "s|@PORT@|$port|g" "$part" >"$work/part.c"
    if [[ $name == compile_reads ]]; then
        cp "$work/part.c" "$submissions/$name/draw.c"
        continue
    fi
    { cat "$work/part.c"; sed 's|^    canvas_open(instance|    hostile();\n    canvas_open(instance|' \
        "$assignment/reference/draw.c"; } >"$submissions/$name/draw.c"
done
# Files named like the checker's results, brought with the sources.
for fake in results.json result.toml grades.csv report.html; do
    echo '{"score": 100, "tests": []}' >"$submissions/fake_results/$fake"
done

snapshot_sums() {
    find "$assignment" "$submissions" -type f -print0 | sort -z | xargs -0 sha256sum
}
snapshot_sums >"$work/before"

"$prefix/bin/morlu-check" "$assignment" "$submissions" -o "$out" -j2
mkdir "$work/alone" && cp -r "$submissions/correct" "$work/alone/"
"$prefix/bin/morlu-check" "$assignment" "$work/alone" -o "$work/out-alone" 2>/dev/null

snapshot_sums >"$work/after"
failed=0
fail() {
    echo "FAILED: $*"
    failed=$((failed + 1))
}
diff "$work/before" "$work/after" >/dev/null || fail "the assignment or a submission changed: $(diff "$work/before" "$work/after")"
[[ ! -e $canary ]] || fail "a submission wrote $canary"
[[ ! -e $work/connections ]] || fail "a submission connected to this machine"
# Every worker's user (61000 and up) has no process left.
if ps -eo uid=,comm= | awk '$1 >= 61000 && $1 < 61300' | grep -q .; then
    fail "processes were left behind: $(ps -eo uid=,comm= | awk '$1 >= 61000 && $1 < 61300')"
fi

python3 - "$out" "$work/out-alone" <<'PY' || failed=$((failed + 1))
import json, os, sys, tomllib

out, alone = sys.argv[1], sys.argv[2]
failed = []

def check(ok, what):
    if not ok:
        failed.append(what)
        print("FAILED:", what)

def result(folder, student):
    return tomllib.load(open(os.path.join(folder, student, "result.toml"), "rb"))

def statuses(student):
    return [t["status"] for t in result(out, student)["tape"]]

def text(student):
    return open(os.path.join(out, student, "result.toml")).read()

# The correct submission's result is the same with hostile neighbours as alone.
def verdict(r):
    return [(t["status"], t["points"], t["problems"], t["log_differences"]) for t in r["tape"]]
for student in ("correct", "fork_neighbour"):
    check(verdict(result(out, student)) == verdict(result(alone, "correct")), f"{student} is judged as when alone")
    check(all(s == "passed" for s in statuses(student)), f"{student} passes: {statuses(student)}")

# Writing its own sandbox's /tmp or the empty folders above its own folder is
# allowed (nothing outside sees them); the real files are checked by their sums.
work = os.path.dirname(out)
for student, word in [("reads_others", "LEAKED"), ("writes_others", "WROTE " + work),
                      ("writes_others", "REMOVED " + work), ("network", "CONNECTED")]:
    check(word not in text(student), f"{student}: nothing {word}: " +
          "; ".join(l for l in text(student).splitlines() if word in l))
for student in ("reads_others", "writes_others", "network", "leaves_process", "fake_results"):
    check(all(s == "passed" for s in statuses(student)), f"{student} is judged on its pictures: {statuses(student)}")
expected = {
    "fork_bomb": "timed out",
    "memory": "memory limit",
    "disk_one_file": "wrote too much",
    "disk_many_files": "wrote too much",
    "endless_output": "too much output",
    "compile_reads": "compile error",
}
for student, status in expected.items():
    check(all(s.startswith(status) for s in statuses(student)), f"{student} reads {status}: {statuses(student)}")
check("draw.c" in result(out, "compile_reads")["compiler_messages"], "compile_reads: the compiler says what is missing")
fake = json.load(open(os.path.join(out, "fake_results", "results.json")))
check(fake["score"] == 4 and len(fake["tests"]) == 3, f"fake_results' results.json is the checker's: {fake}")
grades = open(os.path.join(out, "grades.csv")).read()
check("100" not in grades, "no faked score in grades.csv")
print(f"{len(failed)} failed")
sys.exit(1 if failed else 0)
PY
echo "$failed failed (outside the results)"
[[ $failed -eq 0 ]]
