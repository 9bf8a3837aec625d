#!/usr/bin/env bash
# CPU probe: how much of one core the desktop program uses, on a private X server
# (Xvfb), over a measured interval. The program animates from start-up; with
# --halted the probe first halts it (Ctrl+H) and measures the idle program.
# It reports and never judges: read the numbers against the budgets in DESIGN.md.
#
# Usage: cpu_probe.sh /path/to/morlu-bugs [SECONDS] [--halted]
set -u

PROGRAM=${1:?usage: cpu_probe.sh /path/to/morlu-bugs [SECONDS] [--halted]}
SECONDS_TO_MEASURE=${2:-10}
MODE=animating
[[ ${3:-} == --halted ]] && MODE=halted
SETTLE=1  # seconds after the windows appear, so start-up is not counted

work=$(mktemp -d)
xvfb_pid=""
program_pid=""

cleanup() {
    [[ -n $program_pid ]] && kill "$program_pid" 2>/dev/null
    [[ -n $xvfb_pid ]] && kill "$xvfb_pid" 2>/dev/null
    wait 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT

fail() {
    echo "cpu_probe: $*" >&2
    exit 1
}

start_xvfb() {
    Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$work/display" 2>"$work/xvfb.log" &
    xvfb_pid=$!
    for _ in $(seq 100); do
        [[ -s $work/display ]] && break
        sleep 0.1
    done
    [[ -s $work/display ]] || fail "Xvfb gave no display within 10 s"
    export DISPLAY=":$(head -n 1 "$work/display")"
    unset WAYLAND_DISPLAY
}

# utime + stime of process $1 in clock ticks (fields 14 and 15 of its stat line;
# the command name in parentheses may contain spaces, so count after it).
cpu_ticks() {
    sed 's/^.*) //' "/proc/$1/stat" | awk '{print $12 + $13}'
}

# Percent of one core that `ticks` over `seconds` amount to.
percent() {
    awk -v t="$1" -v hz="$(getconf CLK_TCK)" -v s="$2" 'BEGIN {printf "%.2f", 100 * t / hz / s}'
}

start_xvfb
[[ -x $PROGRAM ]] || fail "no program at $PROGRAM"
cd "$work" || fail "cannot enter $work"
"$PROGRAM" >"$work/program.log" 2>&1 &
program_pid=$!
graphics=$(timeout 10 xdotool search --sync --onlyvisible --name '^MORLU Graphics$' | head -n 1)
[[ -n $graphics ]] || fail "no window \"MORLU Graphics\" within 10 s"
if [[ $MODE == halted ]]; then
    xdotool mousemove --window "$graphics" 420 300 key ctrl+h
fi
sleep "$SETTLE"

program_before=$(cpu_ticks "$program_pid") || fail "the program ended during start-up"
xvfb_before=$(cpu_ticks "$xvfb_pid")
sleep "$SECONDS_TO_MEASURE"
program_after=$(cpu_ticks "$program_pid") || fail "the program ended while it was measured"
xvfb_after=$(cpu_ticks "$xvfb_pid")

echo "cpu_probe: $(basename "$PROGRAM") $MODE for $SECONDS_TO_MEASURE s:" \
    "$(percent $((program_after - program_before)) "$SECONDS_TO_MEASURE")% of one core" \
    "(X server: $(percent $((xvfb_after - xvfb_before)) "$SECONDS_TO_MEASURE")%)"
