#!/usr/bin/env bash
# morlu-check's tests, on morlu and morlu-check installed from BUILD into a
# fresh prefix as a teacher would: the example assignment in bubblewrap and
# again under resource limits alone, with its report in headless Chromium; the
# hostile submissions (bubblewrap only: limits alone cannot hide files); zips
# that try to escape; and
# `morlu-check report` merging per-student results.
# Usage: test-check.sh BUILD
set -euo pipefail
build=$(realpath "${1:?usage: test-check.sh BUILD}")
here=$(realpath "$(dirname "$0")")
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
chmod 755 "$prefix"
cmake --install "$build" --prefix "$prefix" >/dev/null

echo "== the example assignment"
"$here/example_assignment.sh" "$prefix"
echo "== the example assignment under resource limits alone"
MORLU_CHECK_ISOLATION=rlimits "$here/example_assignment.sh" "$prefix"
echo "== hostile submissions"
if [[ $(MORLU_CHECK_ISOLATION='' "$prefix/bin/morlu-check" --isolation) == bubblewrap* ]]; then
    "$here/hostile_submissions.sh" "$prefix"
else
    echo "skipped: bubblewrap cannot run here, and limits alone do not hide other files"
fi
echo "== zips that try to escape their folder or exhaust the checker"
"$here/unsafe_zips.sh" "$prefix"
echo "== the Gradescope run_autograder of docs/checking.md"
"$here/gradescope_pair.sh" "$prefix"
echo "== morlu-check report merges results checked one submission at a time"
"$here/merge_reports.sh" "$prefix"
