#!/usr/bin/env bash
# End-to-end check of the Run menu and of recording on the desktop: the menu,
# opened with the mouse, switches logging on and off with its check mark
# following, and Ctrl+R records a short session into MORLU.SCR.
#
# Usage: menu_e2e.sh /path/to/morlu-bugs
# Needs: Xvfb, xdotool, imagemagick (import, convert), python3.
set -u
PROGRAM=${1:?usage: menu_e2e.sh /path/to/morlu-bugs}
TEST_NAME=menu_e2e
CLIENT_H=501
source "$(dirname "$0")/x_session.sh"

# A fingerprint of a rectangle of the screen: W H X Y.
screen_hash() {
    import -window root -crop "$1x$2+$3+$4" rgb:- 2>/dev/null | md5sum | cut -d' ' -f1
}

# The darkest grey level in window $1 (0 black .. 255 white).
darkest() {
    import -window "$1" -colorspace gray -depth 8 gray:- 2>/dev/null |
        od -An -tu1 -v | tr -s ' ' '\n' | grep -v '^$' | sort -n | head -n 1
}

open_run_menu() {
    xdotool mousemove --window "$graphics" 15 $((menu_bar / 2)) click 1
    sleep 0.4
}

# The menu's left column, where check marks are drawn, under the menu bar.
check_column_hash() {
    open_run_menu
    screen_hash 40 300 "$win_x" $((win_y + menu_bar))
    xdotool key Escape
    sleep 0.3
}

toggle_logging_from_menu() {
    open_run_menu
    xdotool key Down Down Down Down Return  # Animate, Halt, Advance one frame, Logging
    sleep 0.3
}

start_xvfb
start_program "$PROGRAM"
graphics=$(find_window "MORLU Graphics") || fail "no window \"MORLU Graphics\""
text=$(find_window "MORLU Text") || fail "no window \"MORLU Text\""
eval "$(xdotool getwindowgeometry --shell "$graphics")"
win_x=$X win_y=$Y menu_bar=$((HEIGHT - CLIENT_H))
((menu_bar > 0)) || fail "the graphics window has no menu bar above its client area"

# Halt the animation so the picture holds still; the keyboard follows the pointer.
xdotool mousemove --window "$graphics" 450 $((menu_bar + 300)) key ctrl+h
sleep 0.3

unchecked=$(check_column_hash)
toggle_logging_from_menu
checked=$(check_column_hash)
[[ $checked != "$unchecked" ]] || fail "the Logging item looks the same after logging was switched on"
xdotool mousemove --window "$graphics" 450 $((menu_bar + 300)) click 1  # a frame to describe
sleep 0.5
(($(darkest "$text") < 100)) || fail "logging is on but the console shows no shape lines"
toggle_logging_from_menu
[[ $(check_column_hash) == "$unchecked" ]] || fail "the check mark did not go when logging was switched off"

# Record a click and two characters: logical (150, 150) is client pixel (450, 100).
xdotool mousemove --window "$graphics" 450 $((menu_bar + 100))
xdotool key ctrl+r click 1
xdotool type --delay 50 "hi"
xdotool key ctrl+r
sleep 0.5
expected=$'MORLU_MOUSE(150, 150);\nMORLU_KBD(104);\nMORLU_KBD(105);'
[[ $(cat "$work/MORLU.SCR" 2>/dev/null) == "$expected" ]] ||
    fail "MORLU.SCR holds: $(head -c 300 "$work/MORLU.SCR" 2>/dev/null)"

send_delete_window "$graphics" || fail "could not send WM_DELETE_WINDOW"
expect_clean_exit
echo "menu_e2e: PASS (check mark follows logging, recording written)"
