#!/usr/bin/env bash
# A recording that fills its file system: morlu-headless records into a 64 KiB
# tmpfs until no block is left. The program must end normally, say once why the
# recording stopped, and leave a script of whole lines. Mounting needs root;
# otherwise the test says so and is skipped.
#
# Usage: full_disk.sh /path/to/morlu-headless
set -u

program=$(realpath "${1:?usage: full_disk.sh /path/to/morlu-headless}")
if (($(id -u) != 0)); then
    echo "full_disk: SKIP: mounting a small tmpfs needs root"
    exit 77
fi
work=$(mktemp -d)
cleanup() {
    umount "$work/disk" 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT
fail() {
    echo "full_disk: FAIL: $*"
    exit 1
}

mkdir "$work/disk"
mount -t tmpfs -o size=64k tmpfs "$work/disk" || {
    echo "full_disk: SKIP: cannot mount a tmpfs here"
    exit 77
}
# 3000 rounds make twice the script the file system can hold (it is full after
# about 1500): the recording outlives the disk by as long again.
{
    echo "key ctrl+r"
    for ((i = 0; i < 3000; i++)); do
        echo "click 43 $((17 + 25 * (i % 13)))"
        echo "wait 100"
    done
    echo "log ../log.txt"
} >"$work/tape"

(cd "$work/disk" && "$program" ../tape) || fail "the program ended with status $?"
script=$work/disk/MORLU.SCR
[[ -s $script ]] || fail "no script was written"
[[ $(tail -c 1 "$script" | od -An -c | tr -d ' ') == '\n' ]] || fail "the script ends inside a line"
bad=$(grep -cvE '^MORLU_(MOUSE\(-?[0-9]+, -?[0-9]+\)|PERIODIC\([1-9][0-9]*\));$' "$script")
((bad == 0)) || fail "$bad lines of the script are not whole events"
stopped=$(grep -c "^Cannot write script file MORLU.SCR (No space left on device); recording stopped$" "$work/log.txt")
((stopped == 1)) || fail "the log says $stopped times that the recording stopped: $(tail -n 3 "$work/log.txt")"
echo "full_disk: PASS ($(wc -l <"$script") whole lines kept on a full 64 KiB file system)"
