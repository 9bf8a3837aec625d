#!/usr/bin/env bash
# End-to-end check of the control panel of the desktop program on a private X
# server (Xvfb, no window manager), clicking its buttons with xdotool and reading
# the graphics window's pixels back with ImageMagick's import:
#   - at start only the red bug is on screen: no pure green, no pure blue;
#   - "Add Bug" twice brings the green hopper and the blue flyer;
#   - "Select Bug" then "DEBUG" shows the red bug magnified (a large red area);
#   - the magnified bug falls out of the picture within about 4.3 s (43 ticks)
#     and the normal view comes back, the red bug no longer in sight;
#   - "Delete Bug" twice leaves the red bug alone again, and closing the
#     window ends the program cleanly.
#
# Usage: panel_e2e.sh /path/to/morlu-bugs
# Needs: Xvfb, xdotool, imagemagick (import), python3.
set -u

PROGRAM=${1:?usage: panel_e2e.sh /path/to/morlu-bugs}
WAIT_FOR_WINDOWS=10  # seconds; start-up is budgeted far below this
CLIENT_H=501
PANEL_X=43         # client pixel of logical x -257, the middle of the column
# The fall takes 43 ticks of 100 ms; the fallen bug then walks from x 0, out
# of sight below the picture, until it wraps about 2.8 s later.
FALL_LIMIT=30

MAGNIFIED_RED=20000  # the magnified body alone covers far more than this

TEST_NAME=panel_e2e
source "$(dirname "$0")/x_session.sh"

# Click the middle of panel row $1 (0 is "Go"). The window holds the menu bar
# above the client area, so client row y is window row menu_h + y.
click_row() {
    xdotool mousemove --window "$graphics" "$PANEL_X" $((menu_h + 17 + 25 * $1)) click 1 ||
        fail "xdotool could not click row $1"
    sleep 0.2
}

# How many pixels of the graphics window's client area are exactly each colour
# given (RRGGBB), printed as "RRGGBB=N" words.
count_colours() {
    import -window "$graphics" -depth 8 "ppm:$work/shot.ppm" 2>>"$work/import.log" || fail "import could not read the window"
    python3 - "$work/shot.ppm" "$menu_h" "$@" <<'PY'
import sys

path, menu_h, wanted = sys.argv[1], int(sys.argv[2]), sys.argv[3:]
data = open(path, "rb").read()
fields, pos = [], 0
while len(fields) < 4:  # P6, width, height, maximum (255); import writes no comments
    while data[pos:pos + 1].isspace():
        pos += 1
    end = pos
    while not data[end:end + 1].isspace():
        end += 1
    fields.append(data[pos:end])
    pos = end
if fields[0] != b"P6" or fields[3] != b"255":
    sys.exit("not an 8-bit binary PPM")
w, h = int(fields[1]), int(fields[2])
pixels = data[pos + 1 + menu_h * w * 3:pos + 1 + h * w * 3]
counts = {}
for i in range(0, len(pixels), 3):
    key = pixels[i:i + 3]
    counts[key] = counts.get(key, 0) + 1
print(" ".join("%s=%d" % (c, counts.get(bytes.fromhex(c), 0)) for c in wanted))
PY
}

# The count for colour $2 in the output $1 of count_colours.
count_of() {
    local word
    for word in $1; do
        [[ $word == "$2="* ]] && echo "${word#*=}" && return
    done
    echo 0
}

start_xvfb
for tool in xdotool import python3; do
    command -v "$tool" >/dev/null || fail "$tool is not installed"
done
start_program "$PROGRAM"
graphics=$(find_window "MORLU Graphics")
[[ -n $graphics ]] || fail "no visible window \"MORLU Graphics\" within $WAIT_FOR_WINDOWS s"
height=$(xdotool getwindowgeometry "$graphics" | awk '/Geometry:/ {split($2, g, "x"); print g[2]}')
menu_h=$((height - CLIENT_H))
((menu_h >= 0)) || fail "graphics window is only $height pixels high"
sleep 0.5

counts=$(count_colours FF0000 00FF00 0000FF)
(($(count_of "$counts" FF0000) > 0)) || fail "no red bug at start ($counts)"
(($(count_of "$counts" 00FF00) == 0 && $(count_of "$counts" 0000FF) == 0)) ||
    fail "green or blue on screen before any bug was added ($counts)"

click_row 5  # Add Bug
click_row 5
sleep 0.5
counts=$(count_colours FF0000 00FF00 0000FF)
(($(count_of "$counts" 00FF00) > 50)) || fail "no green bug after two \"Add Bug\" ($counts)"
(($(count_of "$counts" 0000FF) > 50)) || fail "no blue bug after two \"Add Bug\" ($counts)"
red_normal=$(count_of "$counts" FF0000)

click_row 11  # Select Bug: slot 0, the red one
click_row 10  # DEBUG
counts=$(count_colours FF0000)
(($(count_of "$counts" FF0000) > MAGNIFIED_RED)) || fail "no magnified red bug after \"DEBUG\" ($counts)"

# The fall ends the magnified view: then the red bug is out of sight below the
# picture, or (once it has wrapped) back at its normal size. Ticks come late on
# a loaded machine (tests run side by side) and each look takes a while, so the
# short time out of sight may fall between two looks: either state will do.
fallen=0
for _ in $(seq $((FALL_LIMIT * 5))); do
    counts=$(count_colours FF0000 00FF00)
    (($(count_of "$counts" FF0000) <= red_normal)) && fallen=1 && break
    sleep 0.2
done
((fallen)) || fail "the magnified red bug has not fallen within $FALL_LIMIT s ($counts)"
(($(count_of "$counts" 00FF00) > 50)) || fail "the green bug is gone after the fall ($counts)"

click_row 12  # Select All
click_row 6   # Delete Bug
click_row 6
sleep 0.5
counts=$(count_colours 00FF00 0000FF)
(($(count_of "$counts" 00FF00) == 0 && $(count_of "$counts" 0000FF) == 0)) ||
    fail "green or blue still on screen after two \"Delete Bug\" ($counts)"

program_ended && fail "the program ended during the clicks"
send_delete_window "$graphics" || fail "could not send WM_DELETE_WINDOW"
expect_clean_exit
echo "panel_e2e: PASS (red bug $red_normal px with two more added, magnified view shown and ended, bugs deleted)"
