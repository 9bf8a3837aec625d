#!/usr/bin/env bash
# report.html in headless Chromium with no network at all (a network namespace
# of its own): every picture loads. A copy of the report gets one script at its
# end that, once the page has loaded, counts the pictures that decoded and
# writes the count into the page, which Chromium then prints.
# Usage: report_in_chromium.sh REPORT.html
set -euo pipefail
report=$(realpath "${1:?usage: report_in_chromium.sh REPORT.html}")
browser=$(command -v chromium-headless-shell || command -v chromium || true)
if [[ -z $browser ]]; then
    echo "FAILED: no chromium-headless-shell or chromium (Debian packages of those names)"
    exit 1
fi
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp "$report" "$work/report.html"
cat >>"$work/report.html" <<'HTML'
<script>
window.addEventListener("load", () => {
  const pictures = [...document.images];
  const loaded = pictures.filter((p) => p.complete && p.naturalWidth > 0).length;
  document.body.setAttribute("data-pictures", loaded + " of " + pictures.length);
});
</script>
HTML
# No network: a namespace with no interface but a loopback that is down; where
# unshare is not allowed, a proxy that nothing answers.
run=(unshare --net --)
unshare --net true 2>/dev/null || run=()
dom=$("${run[@]}" "$browser" --headless --no-sandbox --disable-gpu --proxy-server=127.0.0.1:9 \
    --user-data-dir="$work/profile" --virtual-time-budget=10000 --dump-dom "file://$work/report.html" 2>/dev/null)
counted=$(grep -o 'data-pictures="[0-9]* of [0-9]*"' <<<"$dom" || true)
echo "report.html: ${counted:-no count} pictures loaded"
if [[ $counted =~ data-pictures=\"([0-9]+)\ of\ ([0-9]+)\" ]] && [[ ${BASH_REMATCH[1]} == "${BASH_REMATCH[2]}" ]] &&
    [[ ${BASH_REMATCH[2]} -gt 0 ]]; then
    exit 0
fi
echo "FAILED: not every picture of the report loads"
exit 1
