#!/usr/bin/env python3
"""Write the soak tape: the bug program run for a given stretch of virtual time
with every feature used on a loop.

Each round of the loop, from an animating program with one bug:
  - "Add Bug" up to 15 bugs, then every button of the panel, the unlabelled row
    included, ending with "Go" so the bugs keep walking;
  - "Select Bug" and "DEBUG": the selected bug falls out of the picture; then
    "Select All";
  - Ctrl+L typed in the console: two seconds with every shape described in the
    log, then Logging from the Run menu;
  - Ctrl+H, then Ctrl+R: a recording of clicks, of typing that names the round,
    and of one second of animation; Ctrl+R ends it;
  - Ctrl+P plays the recording back; the log is written to rings/ROUND.txt, and
    its last line must say the script ended; Ctrl+O twice plays single events;
  - Ctrl+A, and the rest of the round with 15 bugs walking; then "Delete Bug"
    down to one bug.

Besides the tape it writes TAPE.scr, the lines the last round's recording must
leave in MORLU.SCR, and TAPE.events, how many events the tape makes the program
handle (ticks, clicks, characters and played events).

Usage: make_soak_tape.py HOURS TAPE [--round-seconds S]
"""
import argparse
import math
import sys

TICK_MS = 100
ORIGIN_X, ORIGIN_Y = 300, 250
PANEL_X = 43  # client pixel column at the middle of the panel's boxes
ROWS = {"go": 0, "stop": 1, "faster": 2, "slower": 3, "movement": 4, "add": 5, "delete": 6,
        "color": 7, "size": 8, "unlabelled": 9, "debug": 10, "select": 11, "select_all": 12}
MAX_BUGS = 15
# The magnified bug falls 10 a tick from 100 above its height and is gone after 43 ticks.
FALL_MS = 4500
LOGGING_MS = 2000
RECORDED_ANIMATION_MS = 1000


def row_pixel(row):
    """The client pixel row at the middle of panel box `row` (y 245 - 25 r down to 220 - 25 r)."""
    return ORIGIN_Y - (245 - 25 * row - 12)


class Tape:
    """The tape's lines, with the count of events the program will handle."""

    def __init__(self):
        self.lines = []
        self.events = 0
        self.running = True
        self.virtual_ms = 0

    def click(self, row):
        self.lines.append("click %d %d" % (PANEL_X, row_pixel(row)))
        self.events += 1

    def type(self, text):
        self.lines.append("type " + text)
        self.events += len(text)

    def key(self, combo):
        self.lines.append("key " + combo)

    def wait(self, ms):
        assert ms % TICK_MS == 0, "waits are whole ticks, so every round starts on a tick"
        self.lines.append("wait %d" % ms)
        self.virtual_ms += ms
        if self.running:
            self.events += ms // TICK_MS

    def halt(self):
        # The periodic event the loop had already made still comes on the next tick.
        self.key("ctrl+h")
        self.running = False
        self.lines.append("wait %d" % (2 * TICK_MS))
        self.virtual_ms += 2 * TICK_MS
        self.events += 1

    def animate(self):
        self.key("ctrl+a")
        self.running = True


def mouse_line(row):
    return "MORLU_MOUSE(%d, %d);" % (PANEL_X - ORIGIN_X, ORIGIN_Y - row_pixel(row))


def use_every_button(tape):
    for _ in range(MAX_BUGS - 1):
        tape.click(ROWS["add"])
    tape.wait(1000)
    for name in ("stop", "faster", "slower", "movement", "color", "size", "unlabelled", "select_all", "go"):
        tape.click(ROWS[name])
        tape.wait(200)
    tape.click(ROWS["select"])
    tape.click(ROWS["debug"])
    tape.wait(FALL_MS)
    tape.click(ROWS["select_all"])


def use_logging(tape):
    # On from the console's keyboard, off from the Run menu.
    tape.lines.append("focus text")
    tape.key("ctrl+l")
    tape.lines.append("focus graphics")
    tape.wait(LOGGING_MS)
    tape.lines.append("menu 4")


def record_and_play(tape, round_number):
    """Record a segment that names the round, play it back, and return its lines."""
    tape.halt()
    tape.key("ctrl+r")
    typed = "r%d" % round_number
    tape.click(ROWS["faster"])
    tape.type(typed)
    tape.click(ROWS["slower"])
    tape.animate()
    tape.wait(RECORDED_ANIMATION_MS)
    tape.key("ctrl+r")
    recorded = [mouse_line(ROWS["faster"])]
    recorded += ["MORLU_KBD(%d);" % ord(c) for c in typed]
    recorded += [mouse_line(ROWS["slower"]), "MORLU_PERIODIC(%d);" % (RECORDED_ANIMATION_MS // TICK_MS)]
    # Playback halts the animation and plays every line at once.
    tape.key("ctrl+p")
    tape.running = False
    tape.events += 2 + len(typed) + RECORDED_ANIMATION_MS // TICK_MS
    tape.lines.append("log rings/%d.txt" % round_number)
    tape.key("ctrl+o")
    tape.key("ctrl+o")
    tape.events += 2
    tape.animate()
    return recorded


def write_round(tape, round_number, round_ms):
    start = tape.virtual_ms
    use_every_button(tape)
    use_logging(tape)
    recorded = record_and_play(tape, round_number)
    rest = round_ms - (tape.virtual_ms - start)
    if rest > 0:
        tape.wait(rest - rest % TICK_MS)
    for _ in range(MAX_BUGS - 1):
        tape.click(ROWS["delete"])
    return recorded


def main():
    parser = argparse.ArgumentParser(description="Write the soak tape.")
    parser.add_argument("hours", type=float, help="virtual hours to run")
    parser.add_argument("tape", help="the tape to write")
    parser.add_argument("--round-seconds", type=int, default=120, help="virtual seconds per round")
    args = parser.parse_args()
    total_ms = int(round(args.hours * 3600 * 1000))
    round_ms = args.round_seconds * 1000
    if total_ms < round_ms:
        sys.exit("make_soak_tape.py: %g hours is less than one round" % args.hours)
    rounds = math.ceil(total_ms / round_ms)
    tape = Tape()
    tape.lines += ["# Soak: %g virtual hours in %d rounds of %d s." % (args.hours, rounds, args.round_seconds),
                   "# Written by tests/soak/make_soak_tape.py; see there for one round."]
    recorded = []
    for n in range(1, rounds + 1):
        recorded = write_round(tape, n, round_ms)
    with open(args.tape, "w") as out:
        out.write("\n".join(tape.lines) + "\n")
    with open(args.tape + ".scr", "w") as out:
        out.write("\n".join(recorded) + "\n")
    with open(args.tape + ".events", "w") as out:
        out.write("rounds %d\nvirtual_ms %d\nticks %d\nevents %d\n"
                  % (rounds, tape.virtual_ms, tape.virtual_ms // TICK_MS, tape.events))


if __name__ == "__main__":
    main()
