# shellcheck shell=bash
# Shared by the desktop tests and probes: a private X server (Xvfb, no window
# manager), the program under test, and the X requests a window manager would
# make. Source it; set WAIT_FOR_WINDOWS (seconds) and a fail() of your own first
# if you want other than the defaults below.
: "${WAIT_FOR_WINDOWS:=10}"

work=$(mktemp -d)
xvfb_pid=""
program_pid=""

cleanup() {
    [[ -n $program_pid ]] && kill "$program_pid" 2>/dev/null
    [[ -n $xvfb_pid ]] && kill "$xvfb_pid" 2>/dev/null
    wait 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT

fail() {
    echo "${TEST_NAME:-e2e}: FAIL: $*" >&2
    if [[ -s $work/program.log ]]; then
        echo "--- program output (last lines):" >&2
        tail -n 20 "$work/program.log" >&2
    fi
    exit 1
}

# Xvfb picks a free display itself and writes its number once it accepts clients.
# -noreset: otherwise it resets when its last client leaves and refuses the next
# one meanwhile, so a program started right after another could find no display.
start_xvfb() {
    Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp -noreset 3>"$work/display" 2>"$work/xvfb.log" &
    xvfb_pid=$!
    for _ in $(seq 100); do
        [[ -s $work/display ]] && break
        kill -0 "$xvfb_pid" 2>/dev/null || fail "Xvfb did not start: $(tail -n 3 "$work/xvfb.log")"
        sleep 0.1
    done
    [[ -s $work/display ]] || fail "Xvfb gave no display within 10 s"
    DISPLAY=":$(head -n 1 "$work/display")"
    export DISPLAY
    unset WAYLAND_DISPLAY
}

# The id of the visible top-level window titled exactly $1, waiting for it, but
# not for a program that has already ended.
find_window() {
    local id
    for _ in $(seq $((WAIT_FOR_WINDOWS * 10))); do
        id=$(xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | head -n 1)
        [[ -n $id ]] && echo "$id" && return 0
        program_ended && return 1
        sleep 0.1
    done
    return 1
}

# True once the program has ended (gone, or a zombie waiting to be reaped).
# Read once: the shell may reap the program between two looks at /proc, and a
# state that cannot be read is a program that is gone.
program_ended() {
    local state
    state=$(sed 's/^.*) //' "/proc/$program_pid/stat" 2>/dev/null | cut -d' ' -f1)
    [[ -z $state || $state == Z || $state == X ]]
}

program_alive() {
    ! program_ended
}

# Ask window $1 to close through the WM_DELETE_WINDOW protocol, as a window
# manager's close button does. xdotool of this age has no command for it.
send_delete_window() {
    python3 - "$1" <<'PY'
import ctypes, ctypes.util, sys

x11 = ctypes.CDLL(ctypes.util.find_library("X11") or "libX11.so.6")
x11.XOpenDisplay.restype = ctypes.c_void_p
x11.XOpenDisplay.argtypes = [ctypes.c_char_p]
x11.XInternAtom.restype = ctypes.c_ulong
x11.XInternAtom.argtypes = [ctypes.c_void_p, ctypes.c_char_p, ctypes.c_int]
x11.XSendEvent.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int, ctypes.c_long, ctypes.c_void_p]
x11.XFlush.argtypes = [ctypes.c_void_p]
x11.XCloseDisplay.argtypes = [ctypes.c_void_p]

class ClientMessage(ctypes.Structure):
    _fields_ = [("type", ctypes.c_int), ("serial", ctypes.c_ulong), ("send_event", ctypes.c_int),
                ("display", ctypes.c_void_p), ("window", ctypes.c_ulong), ("message_type", ctypes.c_ulong),
                ("format", ctypes.c_int), ("l", ctypes.c_long * 5)]

class XEvent(ctypes.Union):
    _fields_ = [("xclient", ClientMessage), ("pad", ctypes.c_long * 24)]

CLIENT_MESSAGE = 33
display = x11.XOpenDisplay(None)
if not display:
    sys.exit("cannot open the display")
window = int(sys.argv[1])
event = XEvent()
event.xclient.type = CLIENT_MESSAGE
event.xclient.window = window
event.xclient.message_type = x11.XInternAtom(display, b"WM_PROTOCOLS", 0)
event.xclient.format = 32
event.xclient.l[0] = x11.XInternAtom(display, b"WM_DELETE_WINDOW", 0)
event.xclient.l[1] = 0  # CurrentTime
if not x11.XSendEvent(display, window, 0, 0, ctypes.byref(event)):
    sys.exit("XSendEvent failed")
x11.XFlush(display)
x11.XCloseDisplay(display)
PY
}

# Start the program $1 (further arguments follow it) in the work folder, where
# the files it writes land; its output goes to program.log there.
start_program() {
    [[ -x $1 ]] || fail "no program at $1"
    local program
    program=$(realpath "$1")
    shift
    cd "$work" || fail "cannot enter $work"
    "$program" "$@" >"$work/program.log" 2>&1 &
    program_pid=$!
}

# Wait up to ten seconds for the program to end, and check it ended with status 0.
expect_clean_exit() {
    # A hang, not a speed, is what this catches: a loaded machine may take seconds.
    local ended=0
    for _ in $(seq 200); do
        program_ended && ended=1 && break
        sleep 0.05
    done
    ((ended)) || fail "the program still runs 10 s after it was asked to end (line ${BASH_LINENO[0]})"
    wait "$program_pid"
    local status=$?
    program_pid=""
    ((status == 0)) || fail "the program exited with status $status"
}
