#!/usr/bin/env bash
# The browser edition's tests in headless Chromium (tests/web/): every tape of
# the demo and the examples gives the Linux edition's status, logs and pictures
# outside the text; real clicks, keys, Ctrl shortcuts and the Run menu reach
# the program; MORLU.SCR goes from the page to Linux and back. Installs what is
# missing (tools/packages-web.txt, puppeteer-core as tests/web/package-lock.json
# pins it), builds the pages with tools/build-web.sh, and builds the Linux
# programs in BUILD unless BUILD is given already built (tools/test.sh passes
# its build/). A picture that differs is written to build-web/test-results/.
# Usage: tools/test-web.sh [BUILD]
set -euo pipefail
cd "$(dirname "$0")/.."
tools/install-deps.sh packages-web.txt
if ! command -v npm >/dev/null; then
    list=$(mktemp)
    echo npm >"$list"
    tools/install-deps.sh "$list"
    rm -f "$list"
fi

if [[ $# -gt 0 ]]; then
    build=$(realpath "$1")
else
    build=$PWD/build
    cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
    cmake --build build -j"${MORLU_JOBS:-2}" --target morlu-bugs examples
fi
tools/build-web.sh

# A program of one's own, as docs/browser.md makes it: install the browser
# edition, then morlu-web turns a C source into a page.
own=$PWD/build-web/own
rm -rf "$own"
cmake --install build-web --prefix "$own/install" >/dev/null
(cd "$own" && install/bin/morlu-web "$OLDPWD/examples/shapes.c" >/dev/null)

# npm ci only when the pinned versions changed since the last install.
web=tests/web
if ! cmp -s "$web/package-lock.json" "$web/node_modules/.installed-lock.json"; then
    (cd "$web" && npm ci --ignore-scripts --no-audit --no-fund --loglevel=error)
    cp "$web/package-lock.json" "$web/node_modules/.installed-lock.json"
fi
MORLU_BUILD=$build MORLU_PAGES=$PWD/build-web/pages MORLU_OWN_PAGE=$own/shapes.html \
    MORLU_WEB_RESULTS=$PWD/build-web/test-results \
    node --test-reporter=tap "$web/run.mjs"
