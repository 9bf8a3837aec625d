#!/usr/bin/env bash
# The browser edition's budgets as rows of tools/bench.sh's table: each page's
# size compressed with gzip -9, the first frame after a page starts loading in
# headless Chromium, and the CPU of an idle page (tests/web/bench.mjs). Builds
# the pages with tools/build-web.sh. With --header it prints the table's head
# too, to be run on its own.
set -euo pipefail
cd "$(dirname "$0")/.."
tools/install-deps.sh packages-web.txt >&2
tools/build-web.sh >&2
web=tests/web
if ! cmp -s "$web/package-lock.json" "$web/node_modules/.installed-lock.json"; then
    (cd "$web" && npm ci --ignore-scripts --no-audit --no-fund --loglevel=error) >&2
    cp "$web/package-lock.json" "$web/node_modules/.installed-lock.json"
fi

if [[ ${1:-} == --header ]]; then
    echo "| What | Budget | Measured |"
    echo "|---|---|---|"
fi
pages=()
sizes=""
for html in build-web/pages/*.html; do
    name=$(basename "$html" .html)
    [[ $name == index ]] && continue
    pages+=("$name")
    sizes+="${sizes:+, }$name $(($(gzip -9c "$html" | wc -c) / 1000)) KB"
done
echo "| Browser edition: each program's page, gzip -9 | ≤ 500 KB | $sizes |"
MORLU_PAGES=$PWD/build-web/pages node "$web/bench.mjs" "${pages[@]}"
