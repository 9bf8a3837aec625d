#!/usr/bin/env python3
"""Screen probe: how long morlu-bugs takes to show its first frame, and how long a
click on the panel takes to change the picture, as seen on the X server.

Run it on a display (tools/bench.sh starts a private Xvfb for it):
    screen_probe.py /path/to/morlu-bugs [REPEATS]
It starts the program REPEATS times (default 5) and prints the median of each
measure in milliseconds. It reads pixels straight from the X server with
XGetImage and clicks with the XTEST extension, so it times what a user sees.
"""
import ctypes
import ctypes.util
import os
import statistics
import subprocess
import sys
import tempfile
import time

x11 = ctypes.CDLL(ctypes.util.find_library("X11") or "libX11.so.6")
xtst = ctypes.CDLL(ctypes.util.find_library("Xtst") or "libXtst.so.6")
x11.XOpenDisplay.restype = ctypes.c_void_p
x11.XOpenDisplay.argtypes = [ctypes.c_char_p]
x11.XDefaultRootWindow.restype = ctypes.c_ulong
x11.XDefaultRootWindow.argtypes = [ctypes.c_void_p]
x11.XGetImage.restype = ctypes.c_void_p
x11.XGetImage.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int, ctypes.c_int, ctypes.c_uint,
                          ctypes.c_uint, ctypes.c_ulong, ctypes.c_int]
x11.XGetPixel.restype = ctypes.c_ulong
x11.XGetPixel.argtypes = [ctypes.c_void_p, ctypes.c_int, ctypes.c_int]
x11.XDestroyImage.argtypes = [ctypes.c_void_p]
x11.XSync.argtypes = [ctypes.c_void_p, ctypes.c_int]
x11.XFlush.argtypes = [ctypes.c_void_p]
xtst.XTestFakeMotionEvent.argtypes = [ctypes.c_void_p, ctypes.c_int, ctypes.c_int, ctypes.c_int, ctypes.c_ulong]
xtst.XTestFakeButtonEvent.argtypes = [ctypes.c_void_p, ctypes.c_uint, ctypes.c_int, ctypes.c_ulong]
xtst.XTestFakeKeyEvent.argtypes = [ctypes.c_void_p, ctypes.c_uint, ctypes.c_int, ctypes.c_ulong]
x11.XKeysymToKeycode.restype = ctypes.c_ubyte
x11.XKeysymToKeycode.argtypes = [ctypes.c_void_p, ctypes.c_ulong]

ALL_PLANES = 0xFFFFFFFF
Z_PIXMAP = 2
TIMEOUT = 10.0
SKY = {0x99FFFF, 0xFF6600}  # ice blue or orange: the scene has been drawn
GREEN = 0x00FF00            # the second bug's body colour
MENU_BAR_MAX = 60


class Screen:
    def __init__(self):
        self.display = x11.XOpenDisplay(None)
        if not self.display:
            sys.exit("screen_probe: cannot open the display")
        self.root = x11.XDefaultRootWindow(self.display)

    def pixel(self, x, y):
        image = x11.XGetImage(self.display, self.root, x, y, 1, 1, ALL_PLANES, Z_PIXMAP)
        if not image:
            return None
        value = x11.XGetPixel(image, 0, 0) & 0xFFFFFF
        x11.XDestroyImage(image)
        return value

    def click(self, x, y):
        xtst.XTestFakeMotionEvent(self.display, -1, x, y, 0)
        xtst.XTestFakeButtonEvent(self.display, 1, 1, 0)
        xtst.XTestFakeButtonEvent(self.display, 1, 0, 0)
        x11.XFlush(self.display)

    def ctrl(self, letter):
        ctrl = x11.XKeysymToKeycode(self.display, 0xFFE3)
        key = x11.XKeysymToKeycode(self.display, ord(letter))
        for code, down in ((ctrl, 1), (key, 1), (key, 0), (ctrl, 0)):
            xtst.XTestFakeKeyEvent(self.display, code, down, 0)
        x11.XFlush(self.display)


def wait_for(test):
    """Poll until test() is true; the time it became true, or None."""
    deadline = time.monotonic() + TIMEOUT
    while time.monotonic() < deadline:
        if test():
            return time.monotonic()
        time.sleep(0.001)
    return None


def menu_bar_height(screen):
    """The client area starts where the sky starts, below the menu bar."""
    for y in range(MENU_BAR_MAX):
        if screen.pixel(560, y) in SKY:
            return y
    return None


def one_run(program, screen):
    work = tempfile.mkdtemp()
    start = time.monotonic()
    proc = subprocess.Popen([program], cwd=work, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    try:
        # Without a window manager the graphics window sits at the screen's top left.
        shown = wait_for(lambda: screen.pixel(560, 40) in SKY)
        if shown is None:
            return None, None
        top = menu_bar_height(screen)
        screen.click(450, top + 400)  # into the window, so the keyboard follows the pointer
        screen.ctrl("h")
        time.sleep(0.3)
        # "Add Bug" is the panel's sixth row; the new bug's body appears on the right.
        add_bug = (43, top + 250 - 107)
        body = (575, top + 250 - 26)
        if screen.pixel(*body) == GREEN:
            return shown - start, None
        clicked = time.monotonic()
        screen.click(*add_bug)
        changed = wait_for(lambda: screen.pixel(*body) == GREEN)
        return shown - start, (changed - clicked) if changed else None
    finally:
        proc.kill()
        proc.wait()


def main():
    if len(sys.argv) < 2:
        sys.exit(__doc__)
    program = os.path.abspath(sys.argv[1])
    repeats = int(sys.argv[2]) if len(sys.argv) > 2 else 5
    screen = Screen()
    if screen.pixel(560, 40) in SKY:
        sys.exit("screen_probe: a graphics window is already on this display; use a display of its own")
    starts, clicks = [], []
    for _ in range(repeats):
        first, click = one_run(program, screen)
        if first is not None:
            starts.append(first * 1000)
        if click is not None:
            clicks.append(click * 1000)
        time.sleep(0.2)
    if not starts or not clicks:
        sys.exit("screen_probe: the program showed no frame, or the click changed nothing")
    print(f"start to first frame: {statistics.median(starts):.0f} ms (median of {len(starts)})")
    print(f"click to changed frame: {statistics.median(clicks):.1f} ms (median of {len(clicks)})")


if __name__ == "__main__":
    main()
