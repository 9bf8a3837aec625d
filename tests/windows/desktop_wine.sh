#!/usr/bin/env bash
# The Windows edition's desktop program under Wine on a private X server: both
# windows appear with their titles, their frames inside the screen, a click on
# Add Bug adds a bug on screen, the Run menu opens with Alt+R, Ctrl+H halts the
# animation, a halted program uses almost no CPU, and Ctrl+Q ends the program
# with status 0. Then the beginner's runaway programs (tests/traps/,
# built against the same build's libraries): one that never waits ends within
# 3 s of the close of its window, of Ctrl+Q and of Ctrl+C in its console, one
# that ignores the quit within 3 s of Ctrl+Q, each with one line; with no
# console at all that line is shown in a message box on the desktop, but never
# in a tape run.
#
# Usage: desktop_wine.sh /path/to/build-windows/app/morlu-bugs.exe
# Needs: Xvfb, xdotool, imagemagick, MinGW-w64, Wine (MORLU_WINE, else Debian's wine64).
set -u

EXE=$(realpath "${1:?usage: desktop_wine.sh /path/to/morlu-bugs.exe}")
BUILD=$(dirname "$(dirname "$EXE")")
WINE=${MORLU_WINE:-/usr/lib/wine/wine64}
HERE=$(cd "$(dirname "$0")" && pwd)
TEST_NAME=desktop_wine
# Wine starts its own services with the first window: give it longer than GTK.
WAIT_FOR_WINDOWS=30
source "$HERE/../e2e/x_session.sh"
# A Wine server started without a display cannot open windows later: this test
# has a prefix, and so a server, of its own.
export WINEPREFIX=$work/wine-prefix WINEDEBUG=-all
trap '"$(dirname "$WINE")/wineserver" -k 2>/dev/null; cleanup' EXIT

# Client area of the graphics window: 601 x 501 below the menu bar.
CLIENT_H=501
# The private X server's screen (x_session.sh): windows and their frames fit in it.
SCREEN_W=1280 SCREEN_H=1024
# A runaway program is ended within this many seconds of the user's quit.
RUNAWAY_SECONDS=3
# Where the demo's panel shows "Add Bug", in client pixels, and a place in the
# sky to the right of the panel where clicks do nothing but move the pointer.
ADD_BUG_X=40 ADD_BUG_Y=142
SKY_X=450 SKY_Y=60
# Halted, the program only wakes for the 100 ms tick: allow 3 % of one core.
HALTED_CPU_PERCENT=3

# A fingerprint of a rectangle of the screen: W H X Y.
screen_hash() {
    import -window root -crop "$1x$2+$3+$4" rgb:- 2>/dev/null | md5sum | cut -d' ' -f1
}

# The scene right of the panel, where bugs walk.
scene_hash() {
    screen_hash 500 230 $((win_x + 100)) $((win_y + menu_bar + 10))
}

# Clock ticks the program has used, user and system.
cpu_ticks() {
    awk '{print $14 + $15}' "/proc/$program_pid/stat"
}

# A command that runs the Windows program $1 under Wine, at $2.
wrap() {
    printf '#!/bin/sh\nexec "%s" "%s" "$@"\n' "$WINE" "$1" >"$2"
    chmod +x "$2"
}

# The window's frame lies inside the screen: Wine draws the frame around what X
# shows without a window manager, so the X window keeps a pixel's margin.
expect_inside_screen() {
    eval "$(xdotool getwindowgeometry --shell "$1")"
    ((X >= 1 && Y >= 1 && X + WIDTH <= SCREEN_W - 1 && Y + HEIGHT <= SCREEN_H - 1)) ||
        fail "\"$2\" is ${WIDTH}x$HEIGHT at ($X, $Y): its frame is not inside the ${SCREEN_W}x$SCREEN_H screen"
}

wrap "$EXE" "$work/morlu-bugs"
start_xvfb
start_program "$work/morlu-bugs"
graphics=$(find_window "MORLU Graphics") || fail "no window \"MORLU Graphics\""
text=$(find_window "MORLU Text") || fail "no window \"MORLU Text\""
expect_inside_screen "$text" "MORLU Text"
expect_inside_screen "$graphics" "MORLU Graphics"
eval "$(xdotool getwindowgeometry --shell "$graphics")"
win_x=$X win_y=$Y menu_bar=$((HEIGHT - CLIENT_H))
((WIDTH == 601 && menu_bar > 0)) || fail "the graphics window is ${WIDTH}x$HEIGHT: no 601 x 501 client area under a menu bar"
sleep 1

# Animating, the picture moves; after Ctrl+H it holds still.
first=$(scene_hash)
sleep 0.5
[[ $(scene_hash) != "$first" ]] || fail "the bugs do not move before Ctrl+H"
xdotool mousemove --window "$graphics" $SKY_X $((menu_bar + SKY_Y)) key ctrl+h
sleep 0.5
halted=$(scene_hash)
before=$(cpu_ticks)
sleep 3
used=$(($(cpu_ticks) - before))
[[ $(scene_hash) == "$halted" ]] || fail "the bugs still move after Ctrl+H"
ticks_per_second=$(getconf CLK_TCK)
((used * 100 <= HALTED_CPU_PERCENT * 3 * ticks_per_second)) ||
    fail "halted, the program used $used clock ticks in 3 s (over $HALTED_CPU_PERCENT % of a core)"

# Halted, a click on Add Bug still draws a frame, with a new bug in the scene.
xdotool mousemove --window "$graphics" $ADD_BUG_X $((menu_bar + ADD_BUG_Y)) click 1
sleep 0.5
[[ $(scene_hash) != "$halted" ]] || fail "a click on Add Bug showed no new bug"

# Alt+R drops the Run menu over the picture; Escape twice closes it and the menu bar.
under_menu=$(screen_hash 300 200 "$win_x" $((win_y + menu_bar)))
xdotool key alt+r
sleep 0.5
[[ $(screen_hash 300 200 "$win_x" $((win_y + menu_bar))) != "$under_menu" ]] || fail "Alt+R opened no menu"
xdotool key Escape Escape
sleep 0.5
[[ $(screen_hash 300 200 "$win_x" $((win_y + menu_bar))) == "$under_menu" ]] || fail "Escape left the menu open"

xdotool mousemove --window "$graphics" $SKY_X $((menu_bar + SKY_Y)) key ctrl+q
for _ in $(seq 100); do
    program_ended && break
    sleep 0.05
done
expect_clean_exit

# The runaway programs, built as a student builds a program with the zip.
build_program() {
    x86_64-w64-mingw32-gcc-posix "$HERE/$1" -I"$HERE/../../runtime/include" -L"$BUILD/entry" -lmorlu_main -lmorlu \
        -luser32 -lgdi32 -lwindowscodecs -lole32 -luuid -lstdc++ -static -mwindows -o "$work/$2" ||
        fail "cannot build $1"
}
build_program ../traps/never_waits.c never_waits.exe
build_program ../traps/ignores_quit.c ignores_quit.exe
build_program start_from_console.c start_from_console.exe
wrap "$work/never_waits.exe" "$work/never_waits"
wrap "$work/ignores_quit.exe" "$work/ignores_quit"
times=()

# Start program $1, quit it with $2 (close or ctrl+q) once its window shows, and
# check that it ends within RUNAWAY_SECONDS with status 70 and one line.
runaway_trial() {
    local name window start elapsed status
    name=$(basename "$1").exe
    start_program "$1"
    window=$(find_window "MORLU Graphics") || fail "$name: no window"
    sleep 1
    start=$(date +%s%N)
    case $2 in
        close) send_delete_window "$window" ;;
        ctrl+q) xdotool mousemove --window "$window" 300 300 key ctrl+q ;;
    esac
    for _ in $(seq $((RUNAWAY_SECONDS * 40))); do
        program_ended && break
        sleep 0.05
    done
    elapsed=$((($(date +%s%N) - start) / 1000000))
    program_ended || fail "$name still runs $elapsed ms after $2"
    wait "$program_pid"
    status=$?
    program_pid=""
    ((elapsed <= RUNAWAY_SECONDS * 1000)) || fail "$name ended $elapsed ms after $2"
    ((status == 70)) || fail "$name ended with status $status after $2, not 70"
    [[ $(grep -c "^$name: ended: .*canvas_await_event" "$work/program.log") == 1 ]] ||
        fail "$name: no one line that says why it was ended after $2"
    times+=("$name $2 ${elapsed} ms")
}
runaway_trial "$work/never_waits" close
runaway_trial "$work/never_waits" ctrl+q
runaway_trial "$work/ignores_quit" ctrl+q

# Ctrl+C in the console the program was started from. Windows' own status for it.
timeout 60 "$WINE" "$work/start_from_console.exe" --ctrl-c "$work/never_waits.exe" >"$work/ctrl-c.log" 2>&1
ctrl_c=$(grep -o 'ended [0-9]* ms after Ctrl+C with status [0-9]*' "$work/ctrl-c.log") ||
    fail "never_waits.exe: $(grep start_from_console "$work/ctrl-c.log")"
read -r _ elapsed _ _ _ _ _ status <<<"$ctrl_c"
((elapsed <= RUNAWAY_SECONDS * 1000 && status == 3221225786)) || fail "never_waits.exe $ctrl_c"
grep -q '^never_waits.exe: ended: after Ctrl+C' "$work/ctrl-c.log" || fail "never_waits.exe: no line after Ctrl+C"
times+=("never_waits.exe ctrl+c ${elapsed} ms")

# Started with no console at all (from Explorer), the line comes in a message
# box, and the program ends once it is read.
printf '#!/bin/sh\nexec "%s" "%s" "%s"\n' "$WINE" "$work/start_from_console.exe" "$work/never_waits.exe" >"$work/no_console"
chmod +x "$work/no_console"
start_program "$work/no_console"
window=$(find_window "MORLU Graphics") || fail "never_waits.exe without a console: no window"
sleep 1
send_delete_window "$window"
box=$(find_window morlu) || fail "never_waits.exe without a console: no message box"
eval "$(xdotool getwindowgeometry --shell "$box")"
xdotool mousemove $((X + WIDTH / 2)) $((Y + HEIGHT - 20)) click 1  # its OK button
for _ in $(seq 100); do
    program_ended && break
    sleep 0.05
done
program_ended || fail "never_waits.exe without a console still runs after its message box was closed"
wait "$program_pid"
status=$?
program_pid=""
((status == 70)) || fail "never_waits.exe without a console ended with status $status, not 70"

# A tape run with no console never waits for anyone to read a box.
printf 'click 300 250\n' >"$work/click.tape"
status=0
timeout 30 "$WINE" "$work/start_from_console.exe" "$work/ignores_quit.exe" --tape "$work/click.tape" >/dev/null 2>&1 ||
    status=$?
((status == 70)) || fail "a tape run of ignores_quit.exe without a console ended with status $status, not 70"
xdotool search --onlyvisible --name '^morlu$' >/dev/null && fail "a tape run showed a message box"

echo "desktop_wine: PASS (windows inside the screen, Add Bug, Alt+R menu, Ctrl+H halts at ${used} ticks in 3 s, Ctrl+Q ends with 0; runaways ended: $(printf "%s, " "${times[@]}")a box without a console)"
