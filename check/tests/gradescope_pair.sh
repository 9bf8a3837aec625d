#!/usr/bin/env bash
# The Gradescope run_autograder of the example assignment, in a folder laid out
# as Gradescope lays out /autograder: the one-pixel submission's results.json
# says 2 of 4 with a test per tape, and the OUT folder is kept for merging.
# Usage: gradescope_pair.sh PREFIX   (where morlu and morlu-check are installed)
set -euo pipefail
prefix=$(realpath "${1:?usage: gradescope_pair.sh PREFIX}")
assignment=$(realpath "$(dirname "$0")/../../examples/assignment")
root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
chmod 755 "$root"
mkdir -p "$root/source" "$root/submission"
cp -r "$assignment" "$root/source/assignment"
cp "$assignment/submissions/off_by_one/"* "$root/submission/"
AUTOGRADER=$root PATH=$prefix/bin:$PATH PKG_CONFIG_PATH=$prefix/lib/pkgconfig \
    "$assignment/gradescope/run_autograder" 2>/dev/null
python3 - "$root/results" <<'PY'
import json, os, sys
results = json.load(open(os.path.join(sys.argv[1], "results.json")))
scores = [(t["name"], t["score"]) for t in results["tests"]]
ok = results["score"] == 2 and scores == [("start.tape", 1), ("draw.tape", 0), ("clear.tape", 1)]
ok = ok and os.path.exists(os.path.join(sys.argv[1], "morlu-check", "batch.toml"))
print("gradescope:", results["score"], scores)
sys.exit(0 if ok else 1)
PY
