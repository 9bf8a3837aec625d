#!/usr/bin/env bash
# Install the Debian packages of tools/packages.txt (or of the lists named, e.g.
# packages-windows.txt) that are missing. Needs root (or sudo) only when
# something is missing.
set -euo pipefail
cd "$(dirname "$0")"

missing=()
for list in "${@:-packages.txt}"; do
    while read -r pkg; do
        [[ -z $pkg || $pkg == \#* ]] && continue
        status=$(dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null || true)
        [[ $status == "install ok installed" ]] || missing+=("$pkg")
    done <"$list"
done

[[ ${#missing[@]} -eq 0 ]] && exit 0
echo "Installing: ${missing[*]}"
as_root=()
if [[ $(id -u) -ne 0 ]]; then
    command -v sudo >/dev/null || { echo "install-deps: run as root to install ${missing[*]}" >&2; exit 1; }
    as_root=(sudo)
fi
export DEBIAN_FRONTEND=noninteractive
# Another install running at the same time (a second test script) is waited for, not failed on.
"${as_root[@]}" apt-get -o DPkg::Lock::Timeout=600 update -qq
"${as_root[@]}" apt-get -o DPkg::Lock::Timeout=600 install -y -qq --no-install-recommends "${missing[@]}"
