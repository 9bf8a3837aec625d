#!/usr/bin/env bash
# End-to-end check of the desktop program on a private X server (Xvfb, no window
# manager): both windows appear, the graphics window's client area is 601 x 501,
# a click and typing are taken without harm, and closing the graphics window the
# way a window manager's close button does (WM_DELETE_WINDOW) ends the program
# with status 0 within one second.
#
# Usage: desktop_e2e.sh /path/to/morlu-bugs
# Needs: Xvfb, xdotool, python3 (its ctypes talks to libX11 for the close message).
set -u

PROGRAM=${1:?usage: desktop_e2e.sh /path/to/morlu-bugs}
WAIT_FOR_WINDOWS=10  # seconds; start-up is budgeted far below this
CLIENT_W=601
CLIENT_H=501
MAX_MENU_BAR_H=60  # the window is the client area plus the menu bar above it

TEST_NAME=desktop_e2e
source "$(dirname "$0")/x_session.sh"

check_client_area() {
    local geometry width height
    geometry=$(xdotool getwindowgeometry "$1" | awk '/Geometry:/ {print $2}')
    width=${geometry%x*}
    height=${geometry#*x}
    [[ $width == "$CLIENT_W" ]] || fail "graphics window is $geometry, want width $CLIENT_W"
    ((height > CLIENT_H && height <= CLIENT_H + MAX_MENU_BAR_H)) ||
        fail "graphics window is $geometry: not a $CLIENT_W x $CLIENT_H client area under a menu bar"
}

start_xvfb
command -v xdotool >/dev/null || fail "xdotool is not installed"
command -v python3 >/dev/null || fail "python3 is not installed"
start_program "$PROGRAM"

graphics=$(find_window "MORLU Graphics")
[[ -n $graphics ]] || ! program_ended || fail "the program ended before showing \"MORLU Graphics\""
[[ -n $graphics ]] || fail "no visible window \"MORLU Graphics\" within $WAIT_FOR_WINDOWS s"
text=$(find_window "MORLU Text")
[[ -n $text ]] || fail "no visible window \"MORLU Text\" within $WAIT_FOR_WINDOWS s"
check_client_area "$graphics"

# Without a window manager the keyboard follows the pointer, so typing goes to
# the graphics window once the pointer is in it.
xdotool mousemove --window "$graphics" 420 300 click 1 || fail "xdotool could not click"
xdotool type --delay 30 "morlu" || fail "xdotool could not type"
sleep 0.5
program_alive || fail "the program ended after a click and typing"

send_delete_window "$graphics" || fail "could not send WM_DELETE_WINDOW"
expect_clean_exit
echo "desktop_e2e: PASS (windows shown, client area ${CLIENT_W}x${CLIENT_H}, exit status 0 on close)"
