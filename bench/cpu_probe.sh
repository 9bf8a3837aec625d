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

TEST_NAME=cpu_probe
source "$(dirname "$0")/../tests/e2e/x_session.sh"

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
start_program "$PROGRAM"
graphics=$(find_window "MORLU Graphics") || fail "no window \"MORLU Graphics\" within $WAIT_FOR_WINDOWS s"
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
