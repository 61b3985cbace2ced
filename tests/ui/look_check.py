#!/usr/bin/env python3
"""Drives the desktop program under a virtual X server and keeps pictures of it, to check the
look by eye: the start screen, the "Players" dialog, a running game with the statistics boxes,
the table's right-click menu, the action panel after an amount typed and confirmed with Enter
(the slider should follow it), and the output pane's first lines. Needs Xvfb, xauth and ImageMagick's `import`.

    xvfb-run -a -s "-screen 0 1280x1024x24" python3 tests/ui/look_check.py \
        build/ui/brisquel /tmp/brisquel-look

Clicks go to the ribbon positions of the 1200 x 1000 window at the screen's top-left corner,
where it opens when no window manager runs. The program runs at its real pace."""

import ctypes
import os
import subprocess
import sys
import tempfile
import time

RETURN, ESCAPE, CONTROL = 0xFF0D, 0xFF1B, 0xFFE3
START_GAME, START_DEAL, STATISTICS = (151, 75), (237, 75), (19, 53)
AMOUNT_BOX = (1108, 872)  # the action panel's amount box
OUTPUT_LIST = (300, 850)  # the output pane's list of lines

x11 = ctypes.CDLL("libX11.so.6")
xtst = ctypes.CDLL("libXtst.so.6")
x11.XOpenDisplay.restype = ctypes.c_void_p
display = ctypes.c_void_p(x11.XOpenDisplay(None))
if not display:
    sys.exit("no X display: run under xvfb-run")


def click(point, button=1):
    xtst.XTestFakeMotionEvent(display, -1, point[0], point[1], 0)
    x11.XFlush(display)
    time.sleep(0.2)
    xtst.XTestFakeButtonEvent(display, button, 1, 0)
    xtst.XTestFakeButtonEvent(display, button, 0, 0)
    x11.XFlush(display)


def key(keysym):
    code = x11.XKeysymToKeycode(display, keysym)
    xtst.XTestFakeKeyEvent(display, code, 1, 0)
    xtst.XTestFakeKeyEvent(display, code, 0, 0)
    x11.XFlush(display)


def type_text(text):
    for ch in text:
        key(ord(ch))
        time.sleep(0.05)


def select_all():
    control = x11.XKeysymToKeycode(display, CONTROL)
    xtst.XTestFakeKeyEvent(display, control, 1, 0)
    key(ord("a"))
    xtst.XTestFakeKeyEvent(display, control, 0, 0)
    x11.XFlush(display)


def shot(folder, name):
    subprocess.run(["import", "-window", "root", os.path.join(folder, name)], check=True)


def main():
    program = os.path.abspath(sys.argv[1] if len(sys.argv) > 1 else "build/ui/brisquel")
    out = os.path.abspath(sys.argv[2] if len(sys.argv) > 2 else "look")
    os.makedirs(out, exist_ok=True)
    with tempfile.TemporaryDirectory() as work:
        proc = subprocess.Popen([program], cwd=work)
        try:
            time.sleep(4)
            shot(out, "start.png")
            click(START_GAME)
            time.sleep(2)
            shot(out, "players.png")
            key(RETURN)
            time.sleep(2)
            click(START_DEAL)
            time.sleep(9)
            click(STATISTICS)
            time.sleep(6)
            shot(out, "game.png")
            click((900, 300), button=3)
            time.sleep(1)
            shot(out, "menu.png")
            key(ESCAPE)
            time.sleep(1)
            # The human's first turn comes before the game's third pause ends: type an amount
            # off the big blind's steps and confirm it.
            click(AMOUNT_BOX)
            select_all()
            type_text("130")
            key(RETURN)
            time.sleep(1)
            click((400, 400))  # elsewhere, so that the window repaints
            time.sleep(1)
            shot(out, "panel.png")
            for _ in range(15):  # the output pane's first lines
                click(OUTPUT_LIST, button=4)
                time.sleep(0.1)
            time.sleep(1)
            shot(out, "pane.png")
        finally:
            proc.terminate()
            proc.wait(timeout=30)
    print("pictures in", out)


if __name__ == "__main__":
    main()
