#!/usr/bin/env bash
# One submission at a time, each into an OUT of its own (as a grading platform
# runs one container per submission), then `morlu-check report` merges them:
# the merged grades.csv equals that of one batch of the same submissions, and
# the merged report.html opens in headless Chromium with every picture.
# Usage: merge_reports.sh PREFIX   (where morlu and morlu-check are installed)
set -euo pipefail
prefix=$(realpath "${1:?usage: merge_reports.sh PREFIX}")
here=$(realpath "$(dirname "$0")")
assignment=$(realpath "$here/../../examples/assignment")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
chmod 755 "$work"
export PKG_CONFIG_PATH=$prefix/lib/pkgconfig

outs=()
mkdir "$work/all"
for student in correct off_by_one compile_error; do
    mkdir -p "$work/one-$student"
    cp -r "$assignment/submissions/$student" "$work/one-$student/"
    cp -r "$assignment/submissions/$student" "$work/all/"
    "$prefix/bin/morlu-check" "$assignment" "$work/one-$student" -o "$work/out-$student" 2>/dev/null
    outs+=("$work/out-$student")
done
"$prefix/bin/morlu-check" report "${outs[@]}" -o "$work/merged"
"$prefix/bin/morlu-check" "$assignment" "$work/all" -o "$work/batch" 2>/dev/null
if ! diff "$work/batch/grades.csv" "$work/merged/grades.csv"; then
    echo "FAILED: the merged grades differ from one batch's"
    exit 1
fi
"$here/report_in_chromium.sh" "$work/merged/report.html"
