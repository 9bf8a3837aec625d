#!/usr/bin/env bash
# Soak: run morlu-headless for HOURS of virtual time with every feature used on a
# loop (tests/soak/make_soak_tape.py says what one round does), sample its
# resident memory and open files while it runs, then check:
#   - the exit status is 0 (no crash, no tape line refused);
#   - resident memory after the first minute (or the first quarter of a shorter
#     run) grows by no more than the margin to the end of the run;
#   - open files at the end are those of the start, give or take the script file;
#   - MORLU.SCR holds exactly the lines of the last round's recording, and every
#     round's playback ran to the end of its script.
# It prints wall time, events handled, peak and sampled memory, and exits 1 when
# a check fails.
#
# Usage: soak.sh HOURS [--program PATH] [--round-seconds S] [--max-growth-kb K]
#                      [--keep DIR]
# PROGRAM defaults to build/tools/morlu-headless under the repository.
set -u

here=$(cd "$(dirname "$0")" && pwd)
hours=${1:?usage: soak.sh HOURS [--program PATH] [--round-seconds S] [--max-growth-kb K] [--keep DIR]}
shift
program=$here/../../build/tools/morlu-headless
round_seconds=120
max_growth_kb=2048
keep=""
while (($#)); do
    case $1 in
    --program) program=$2 ;;
    --round-seconds) round_seconds=$2 ;;
    --max-growth-kb) max_growth_kb=$2 ;;
    --keep) keep=$2 ;;
    *) echo "soak.sh: unknown option $1" >&2; exit 2 ;;
    esac
    shift 2
done
[[ -x $program ]] || { echo "soak.sh: no program at $program (build it, or give --program)" >&2; exit 2; }
program=$(realpath "$program")
sample_seconds=1
[[ $round_seconds -le 60 ]] && sample_seconds=0.2  # a short run still gets a few dozen samples

work=$(mktemp -d)
cleanup() {
    [[ -n ${pid:-} ]] && kill "$pid" 2>/dev/null
    if [[ -n $keep ]]; then mkdir -p "$keep" && cp -r "$work"/. "$keep"/; fi
    rm -rf "$work"
}
trap cleanup EXIT
failed=0
fail() {
    echo "soak: FAIL: $*"
    failed=1
}

python3 "$here/make_soak_tape.py" "$hours" "$work/soak.tape" --round-seconds "$round_seconds" || exit 2
mkdir -p "$work/rings"
cd "$work" || exit 2

# One sample a line: seconds since start, VmRSS kB, VmHWM kB, open files.
sample() {
    local rss hwm fds
    rss=$(awk '/^VmRSS:/ {print $2}' "/proc/$pid/status" 2>/dev/null)
    hwm=$(awk '/^VmHWM:/ {print $2}' "/proc/$pid/status" 2>/dev/null)
    fds=$(find "/proc/$pid/fd" -mindepth 1 -maxdepth 1 2>/dev/null | wc -l)
    [[ -n $rss && -n $hwm ]] && echo "$(awk -v s="$start" -v n="$(date +%s.%N)" 'BEGIN {printf "%.2f", n - s}') $rss $hwm $fds"
}

start=$(date +%s.%N)
"$program" soak.tape >stdout 2>stderr &
pid=$!
while kill -0 "$pid" 2>/dev/null && [[ $(awk '{print $3}' "/proc/$pid/stat" 2>/dev/null) != Z ]]; do
    sample >>samples
    sleep "$sample_seconds"
done
wait "$pid"
status=$?
pid=""
wall=$(awk -v s="$start" -v n="$(date +%s.%N)" 'BEGIN {printf "%.1f", n - s}')

# The tape's own count of what it makes the program handle.
events=$(awk '/^events / {print $2}' soak.tape.events)
ticks=$(awk '/^ticks / {print $2}' soak.tape.events)
rounds=$(awk '/^rounds / {print $2}' soak.tape.events)

# Memory: the baseline is the first sample at or after one minute, or after a
# quarter of the run when the whole run is shorter than four minutes.
read -r samples_taken baseline_t baseline_rss end_rss peak_after peak_hwm fds_first fds_max < <(
    awk -v wall="$wall" '
        { t[NR] = $1; rss[NR] = $2; hwm[NR] = $3; fds[NR] = $4 }
        END {
            if (NR == 0) { print 0, 0, 0, 0, 0, 0, 0, 0; exit }
            at = wall / 4 < 60 ? wall / 4 : 60
            b = NR
            for (i = 1; i <= NR; i++) if (t[i] >= at) { b = i; break }
            peak = 0; fmax = 0
            for (i = b; i <= NR; i++) { if (rss[i] > peak) peak = rss[i]; if (fds[i] > fmax) fmax = fds[i] }
            print NR, t[b], rss[b], rss[NR], peak, hwm[NR], fds[1], fmax
        }' samples 2>/dev/null || echo "0 0 0 0 0 0 0 0")

growth=$((peak_after - baseline_rss))
echo "soak: $hours virtual hours, $rounds rounds, $ticks ticks, $events events handled"
echo "soak: wall time ${wall} s, $(awk -v e="$events" -v w="$wall" 'BEGIN {printf "%.0f", (w > 0 ? e / w : 0)}') events/s, exit status $status"
echo "soak: peak RSS $((peak_hwm / 1024)).$((peak_hwm % 1024 * 10 / 1024)) MB; RSS ${baseline_rss} kB at ${baseline_t} s," \
    "${end_rss} kB at the end, highest after the baseline ${peak_after} kB (growth ${growth} kB)"
echo "soak: open files ${fds_first} at the start, at most ${fds_max} after the baseline; $samples_taken samples"

((status == 0)) || fail "exit status $status; stderr: $(head -c 500 stderr)"
[[ -s stderr ]] && fail "the program wrote to stderr: $(head -c 500 stderr)"
((samples_taken >= 4)) || fail "only $samples_taken memory samples: the run was too short to judge"
((growth <= max_growth_kb)) || fail "resident memory grew ${growth} kB after the baseline (margin ${max_growth_kb} kB)"
((fds_max <= fds_first + 1)) || fail "open files grew from $fds_first to $fds_max"
if ! cmp -s MORLU.SCR soak.tape.scr; then
    fail "MORLU.SCR is not the last round's recording:"
    diff soak.tape.scr MORLU.SCR | head -n 20
fi
unfinished=0
for n in $(seq "$rounds"); do
    [[ $(tail -n 1 "rings/$n.txt" 2>/dev/null) == "EOF encountered in script file MORLU.SCR" ]] ||
        unfinished=$((unfinished + 1))
done
((unfinished == 0)) || fail "$unfinished of $rounds playbacks did not end at the end of their script"
grep -l "Cannot open script file" rings/*.txt >/dev/null 2>&1 && fail "the log says a script file could not be opened"

if ((failed)); then exit 1; fi
echo "soak: PASS"
