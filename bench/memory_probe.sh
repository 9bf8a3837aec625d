#!/usr/bin/env bash
# Memory probe: the resident memory of morlu-bugs animating on a private X server,
# two seconds after start and again after SECONDS more, so growth shows.
# Usage: memory_probe.sh /path/to/morlu-bugs [SECONDS]
set -u
PROGRAM=${1:?usage: memory_probe.sh /path/to/morlu-bugs [SECONDS]}
SECONDS_TO_RUN=${2:-20}
TEST_NAME=memory_probe
source "$(dirname "$0")/../tests/e2e/x_session.sh"

rss_kb() {
    awk '/^VmRSS:/ {print $2}' "/proc/$1/status"
}

start_xvfb
start_program "$PROGRAM"
graphics=$(find_window "MORLU Graphics") || fail "no window \"MORLU Graphics\""
sleep 2
early=$(rss_kb "$program_pid") || fail "the program ended"
# Use the program meanwhile: buttons, logging and typing.
for _ in $(seq "$SECONDS_TO_RUN"); do
    xdotool mousemove --window "$graphics" 43 $((25 + 143)) click 1 key ctrl+l type "x"
    sleep 1
done
late=$(rss_kb "$program_pid") || fail "the program ended"
awk -v a="$early" -v b="$late" -v s="$SECONDS_TO_RUN" \
    'BEGIN {printf "memory_probe: morlu-bugs %.1f MB resident after 2 s, %.1f MB after %d s more\n", a / 1024, b / 1024, s}'
