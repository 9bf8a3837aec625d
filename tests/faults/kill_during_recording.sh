#!/usr/bin/env bash
# SIGKILL during a recording loses nothing that was written: morlu-headless
# records a long run of clicks, typing and ticks and is killed with SIGKILL once
# its script has a few hundred lines. The killed MORLU.SCR must hold whole lines
# only, and be line for line the start of the script that the same tape leaves
# when it runs to its end.
#
# Usage: kill_during_recording.sh /path/to/morlu-headless
set -u

program=$(realpath "${1:?usage: kill_during_recording.sh /path/to/morlu-headless}")
ROUNDS=2000       # a click, a character and a tick each: a second of work, several under the sanitizers
KILL_AT_LINES=300 # lines in the file when the kill is sent
work=$(mktemp -d)
pid=""
cleanup() {
    [[ -n $pid ]] && kill -9 "$pid" 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT
fail() {
    echo "kill_during_recording: FAIL: $*"
    exit 1
}

mkdir "$work/whole" "$work/killed"
{
    echo "key ctrl+r"
    for ((i = 0; i < ROUNDS; i++)); do
        echo "click 43 $((17 + 25 * (i % 13)))"
        echo "type $((i % 10))"
        echo "wait 100"
    done
} >"$work/tape"

(cd "$work/whole" && "$program" ../tape) || fail "the run that was not killed ended with status $?"
whole=$work/whole/MORLU.SCR
# Each round makes a MOUSE, a KBD and a PERIODIC(1) line; the last line of ticks
# is written as the recording ends with the program.
(($(wc -l <"$whole") == 3 * ROUNDS)) || fail "the whole run's script has $(wc -l <"$whole") lines, not $((3 * ROUNDS))"
[[ $(head -n 3 "$whole" | tr '\n' ' ') == "MORLU_MOUSE(-257, 233); MORLU_KBD(48); MORLU_PERIODIC(1); " ]] ||
    fail "the whole run's script starts: $(head -n 3 "$whole")"

cd "$work/killed" || exit 1
"$program" ../tape &
pid=$!
for _ in $(seq 3000); do
    [[ -f MORLU.SCR && $(wc -l <MORLU.SCR) -ge KILL_AT_LINES ]] && break
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.01
done
kill -0 "$pid" 2>/dev/null || fail "the program ended before it could be killed"
kill -9 "$pid"
wait "$pid" 2>/dev/null
status=$?
pid=""
((status == 137)) || fail "the program ended with status $status, not by SIGKILL"

killed=$work/killed/MORLU.SCR
lines=$(wc -l <"$killed")
((lines >= KILL_AT_LINES)) || fail "the killed run's script has only $lines lines"
((lines < 3 * ROUNDS)) || fail "the killed run had already finished its recording"
[[ $(tail -c 1 "$killed" | od -An -c | tr -d ' ') == '\n' ]] || fail "the killed run's script ends inside a line"
cmp -s "$killed" <(head -c "$(stat -c %s "$killed")" "$whole") ||
    fail "the killed run's script is not the start of the whole run's: $(cmp "$killed" "$whole")"
echo "kill_during_recording: PASS ($lines of $((3 * ROUNDS)) lines written before the kill, all whole)"
