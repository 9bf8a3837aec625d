#!/usr/bin/env bash
# The Windows edition's desktop program under Wine on a private X server: both
# windows appear with their titles, a click on Add Bug adds a bug on screen, the
# Run menu opens with Alt+R, Ctrl+H halts the animation, a halted program uses
# almost no CPU, and Ctrl+Q ends the program with status 0.
#
# Usage: desktop_wine.sh /path/to/morlu-bugs.exe
# Needs: Xvfb, xdotool, imagemagick, Wine (MORLU_WINE, else Debian's wine64).
set -u

EXE=$(realpath "${1:?usage: desktop_wine.sh /path/to/morlu-bugs.exe}")
WINE=${MORLU_WINE:-/usr/lib/wine/wine64}
TEST_NAME=desktop_wine
# Wine starts its own services with the first window: give it longer than GTK.
WAIT_FOR_WINDOWS=30
source "$(dirname "$0")/../e2e/x_session.sh"

# Client area of the graphics window: 601 x 501 below the menu bar.
CLIENT_H=501
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

printf '#!/bin/sh\nexec "%s" "%s" "$@"\n' "$WINE" "$EXE" >"$work/morlu-bugs"
chmod +x "$work/morlu-bugs"
start_xvfb
start_program "$work/morlu-bugs"
graphics=$(find_window "MORLU Graphics") || fail "no window \"MORLU Graphics\""
find_window "MORLU Text" >/dev/null || fail "no window \"MORLU Text\""
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
echo "desktop_wine: PASS (windows, Add Bug, Alt+R menu, Ctrl+H halts at ${used} ticks in 3 s, Ctrl+Q ends with 0)"
