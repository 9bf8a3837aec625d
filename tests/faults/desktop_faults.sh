#!/usr/bin/env bash
# Faults met by the desktop program on a private X server (Xvfb, no window
# manager), one start of the program each:
#   - the graphics window closed while a recording runs: the program ends with
#     status 0 and the script holds every event, with the ticks since the last
#     one written as the final line;
#   - the graphics window closed while a long script plays: the program ends
#     with status 0 within a second, and the script is as it was;
#   - SIGKILL while a recording runs: every click and character taken before the
#     kill is in the script, in whole lines, and so are the ticks counted since;
#   - SIGTERM, SIGINT or SIGHUP while a recording runs: the program ends as when
#     its window is closed, with the ticks since the last event written;
#   - a FIFO named MORLU.SCR: playing and recording it never hang the program;
#   - another client sizing the console to 20000 x 20000: memory stays small;
#   - the X server going away: one line saying so, and status 1.
#
# Usage: desktop_faults.sh /path/to/morlu-bugs
# Needs: Xvfb, xdotool, xprop, ImageMagick's import, python3.
set -u

PROGRAM=${1:?usage: desktop_faults.sh /path/to/morlu-bugs}
CLIENT_H=501
TEST_NAME=desktop_faults
source "$(dirname "$0")/../e2e/x_session.sh"

# Start the program in a fresh work folder holding the script $1 (or none), and
# find its graphics window and the height of its menu bar.
start_in_fresh_folder() {
    rm -f "$work/MORLU.SCR"
    [[ -n ${1:-} ]] && printf '%s' "$1" >"$work/MORLU.SCR"
    start_program "$PROGRAM"
    graphics=$(find_window "MORLU Graphics") || {
        fail "no window \"MORLU Graphics\""
    }
    eval "$(xdotool getwindowgeometry --shell "$graphics")"
    menu_bar=$((HEIGHT - CLIENT_H))
    ((menu_bar > 0)) || fail "the graphics window has no menu bar above its client area"
}

# Press at client pixel ($1, $2).
click_client() {
    xdotool mousemove --window "$graphics" "$1" $((menu_bar + $2)) click 1
}

# Every line of the script is whole and well formed.
check_whole_lines() {
    [[ -s $work/MORLU.SCR ]] || fail "$1: MORLU.SCR is missing or empty"
    [[ $(tail -c 1 "$work/MORLU.SCR" | od -An -c | tr -d ' ') == '\n' ]] || fail "$1: the script ends inside a line"
    local bad
    bad=$(grep -cvE '^MORLU_(MOUSE\(-?[0-9]+, -?[0-9]+\)|KBD\(-?[0-9]+\)|PERIODIC\([1-9][0-9]*\));$' "$work/MORLU.SCR")
    ((bad == 0)) || fail "$1: $bad lines of the script are not whole events: $(head -c 300 "$work/MORLU.SCR")"
}

# The script's lines other than ticks, joined by spaces.
events_but_ticks() {
    grep -v PERIODIC "$work/MORLU.SCR" | tr '\n' ' '
}

start_xvfb
command -v xdotool >/dev/null || fail "xdotool is not installed"
# Xvfb resets itself when its last client leaves, and refuses clients while it
# does: a program started as the one before it ends, or as an xdotool call
# returns, could find no display. One client stays connected throughout (it ends
# with the server).
xprop -root -spy >/dev/null 2>&1 &
for _ in $(seq 50); do
    xdotool getmouselocation >/dev/null 2>&1 && break
    sleep 0.1
done

# 1. Closed while recording.
start_in_fresh_folder ""
xdotool mousemove --window "$graphics" 450 $((menu_bar + 100)) key ctrl+r
click_client 450 100
xdotool type --delay 50 "ok"
sleep 0.6  # ticks that only the close can write
send_delete_window "$graphics" || fail "could not send WM_DELETE_WINDOW"
expect_clean_exit
check_whole_lines "closed while recording"
[[ $(events_but_ticks) == "MORLU_MOUSE(150, 150); MORLU_KBD(111); MORLU_KBD(107); " ]] ||
    fail "closed while recording: the script holds: $(head -c 300 "$work/MORLU.SCR")"
last=$(tail -n 1 "$work/MORLU.SCR")
if [[ ! $last =~ ^MORLU_PERIODIC\(([0-9]+)\)\;$ ]] || ((BASH_REMATCH[1] < 3)); then
    fail "closed while recording: the last line, $last, is not the ticks of the last 0.6 s"
fi

# 2. Closed while playing: a script of a million ticks plays for many minutes.
script=$'MORLU_MOUSE(150, 150);\nMORLU_PERIODIC(1000000);\n'
start_in_fresh_folder "$script"
xdotool mousemove --window "$graphics" 450 $((menu_bar + 100)) key ctrl+p
sleep 0.5
# The picture moves within five seconds: on a loaded machine the program may
# draw less often than twice a second.
first=$(import -window "$graphics" rgb:- 2>/dev/null | md5sum)
second=$first
for _ in $(seq 20); do
    sleep 0.25
    second=$(import -window "$graphics" rgb:- 2>/dev/null | md5sum)
    [[ $first != "$second" ]] && break
done
program_alive || fail "closed while playing: the program ended during playback"
[[ $first != "$second" ]] || fail "closed while playing: the picture does not move, so nothing plays"
send_delete_window "$graphics" || fail "could not send WM_DELETE_WINDOW"
expect_clean_exit
[[ $(cat "$work/MORLU.SCR"; echo .) == "$script." ]] || fail "closed while playing: the script was changed"

# 3. Killed while recording.
start_in_fresh_folder ""
xdotool mousemove --window "$graphics" 450 $((menu_bar + 100)) key ctrl+h key ctrl+r
for x in 400 420 440 460 480; do click_client "$x" 200; done
xdotool type --delay 50 "abc"
sleep 0.5
kill -9 "$program_pid"
wait "$program_pid" 2>/dev/null
program_pid=""
check_whole_lines "killed while recording"
[[ $(events_but_ticks) == "MORLU_MOUSE(100, 50); MORLU_MOUSE(120, 50); MORLU_MOUSE(140, 50); MORLU_MOUSE(160, 50); MORLU_MOUSE(180, 50); MORLU_KBD(97); MORLU_KBD(98); MORLU_KBD(99); " ]] ||
    fail "killed while recording: the script holds: $(head -c 400 "$work/MORLU.SCR")"


# 3b. Killed while only ticks were counted since the last event.
start_in_fresh_folder ""
xdotool mousemove --window "$graphics" 450 $((menu_bar + 100)) key ctrl+r
click_client 450 100
sleep 0.6
kill -9 "$program_pid"
wait "$program_pid" 2>/dev/null
program_pid=""
check_whole_lines "killed while counting ticks"
last=$(tail -n 1 "$work/MORLU.SCR")
if [[ ! $last =~ ^MORLU_PERIODIC\(([0-9]+)\)\;$ ]] || ((BASH_REMATCH[1] < 3)); then
    fail "killed while counting ticks: the last line, $last, is not the ticks of the last 0.6 s"
fi

# 4. Asked to end by a signal while recording.
for signal in TERM INT HUP; do
    start_in_fresh_folder ""
    xdotool mousemove --window "$graphics" 450 $((menu_bar + 100)) key ctrl+r
    click_client 450 100
    sleep 0.6
    kill -s "$signal" "$program_pid"
    expect_clean_exit
    check_whole_lines "SIG$signal while recording"
    [[ $(events_but_ticks) == "MORLU_MOUSE(150, 150); " ]] ||
        fail "SIG$signal while recording: the script holds: $(head -c 300 "$work/MORLU.SCR")"
    [[ $(tail -n 1 "$work/MORLU.SCR") =~ ^MORLU_PERIODIC ]] || fail "SIG$signal while recording: no ticks at the end"
done

# 5. A FIFO where the script should be: playing and recording are refused at
# once, and the program still answers Ctrl+Q.
start_in_fresh_folder ""
mkfifo "$work/MORLU.SCR"
xdotool mousemove --window "$graphics" 450 $((menu_bar + 100)) key ctrl+p key ctrl+o key ctrl+r
click_client 450 100
sleep 0.3
xdotool key ctrl+q
expect_clean_exit
rm -f "$work/MORLU.SCR"

# 6. The console sized far beyond the screen by another client.
start_in_fresh_folder ""
console=$(find_window "MORLU Text") || fail "no window \"MORLU Text\""
xdotool windowsize "$console" 20000 20000
sleep 1
program_alive || fail "the program ended when its console was sized to 20000 x 20000"
rss_kb=$(awk '/^VmRSS/ {print $2}' "/proc/$program_pid/status")
echo "desktop_faults: with its console at 20000 x 20000 the program holds $((rss_kb / 1024)) MB"
((rss_kb < 400000)) || fail "the program holds $((rss_kb / 1024)) MB after its console was sized to 20000 x 20000"
send_delete_window "$graphics" || fail "could not send WM_DELETE_WINDOW"
expect_clean_exit

# 7. The X server goes away under the program (last: the display is gone after it).
start_in_fresh_folder ""
kill "$xvfb_pid"
wait "$xvfb_pid" 2>/dev/null
xvfb_pid=""
for _ in $(seq 50); do
    program_ended && break
    sleep 0.1
done
program_ended || fail "the program still runs 5 s after its display went away"
wait "$program_pid"
status=$?
program_pid=""
((status == 1)) || fail "the program ended with status $status, not 1, when its display went away"
grep -q "lost the connection to the display" "$work/program.log" ||
    fail "the program did not say that its display went away: $(head -c 300 "$work/program.log")"

echo "desktop_faults: PASS (closed, killed and signalled while recording, closed while playing, a FIFO, a huge console, a lost display)"
