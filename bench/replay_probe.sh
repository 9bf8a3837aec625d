#!/usr/bin/env bash
# Replay probe: morlu-headless plays back a long recorded script (a full redraw
# per event) and reports events per second and its peak resident memory.
# With --fifteen-bugs the script first adds 14 bugs, then clicks only outside
# the panel, so every event redraws 15 bugs and no debug view.
# Usage: replay_probe.sh /path/to/morlu-headless [LINES] [--fifteen-bugs]
set -euo pipefail
program=$(realpath "${1:?usage: replay_probe.sh /path/to/morlu-headless [LINES] [--fifteen-bugs]}")
lines=${2:-30000}
fifteen=0
[[ ${3:-} == --fifteen-bugs ]] && fifteen=1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"
# A script of clicks all over the picture (the panel included), typing and tick runs.
events=$(python3 - "$lines" "$fifteen" <<'PY'
import random, sys
random.seed(7)
events = 0
fifteen = sys.argv[2] == "1"
with open("MORLU.SCR", "w") as f:
    if fifteen:
        for _ in range(14):
            f.write("MORLU_MOUSE(-257, 108);\n")  # Add Bug
            events += 1
    for _ in range(int(sys.argv[1])):
        r = random.random()
        if r < 0.4:
            n = random.randint(1, 5)
            f.write(f"MORLU_PERIODIC({n});\n")
            events += n
        elif r < 0.8:
            x = random.randint(-200 if fifteen else -300, 300)  # right of the panel for fifteen bugs
            f.write(f"MORLU_MOUSE({x}, {random.randint(-250, 250)});\n")
            events += 1
        else:
            f.write(f"MORLU_KBD({random.randint(-128, 127)});\n")
            events += 1
print(events)
PY
)
printf 'key ctrl+h\nkey ctrl+p\nlog log.txt\n' >replay.tape
/usr/bin/time -f '%e %M' -o time.txt "$program" replay.tape
read -r seconds kbytes <time.txt
grep -q "EOF encountered in script file MORLU.SCR" log.txt || { echo "replay_probe: the script did not play to its end" >&2; exit 1; }
awk -v e="$events" -v s="$seconds" -v k="$kbytes" \
    'BEGIN {printf "replay_probe: %d events in %.2f s: %.0f events/s, peak %.1f MB resident\n", e, s, e / s, k / 1024}'
