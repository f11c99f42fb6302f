#!/usr/bin/env python3
"""Starts the Windows game under Wine on the virtual display and checks it
from outside: the window paints its menu, Start enters play mode, Stop goes
back to the menu and Exit ends the program at once. Prints the time from the
start to the first paint; with --shots DIR keeps a picture of the menu and of
play mode there (windows-menu.png, windows-play.png).

Usage: windows_game.py [--shots DIR] [--quiz FILE] EXE
       windows_game.py [--shots DIR] --open FILE
The second form opens a question file as the desktop does, through the
program that .csv files are associated with. Run in the folder the game
should start in, with DISPLAY and WINEPREFIX set.
"""
import argparse
import subprocess
import sys
import time

import xwin

parser = argparse.ArgumentParser()
parser.add_argument("--shots")
parser.add_argument("--quiz")
parser.add_argument("--open")
parser.add_argument("exe", nargs="?")
args = parser.parse_args()

# Wine's dialog font (IPA Gothic for the template's face) has base units of
# 6 by 13 pixels.
layout = xwin.Layout(base=(6, 13))
AREA, TITLE, STOP = layout.rect("AREA"), layout.rect("TITLE"), layout.rect("STOP")
MENU = [layout.rect(name) for name in ("READ", "START", "EXIT")]


def wait(what, condition, seconds=30):
    deadline = time.monotonic() + seconds
    while time.monotonic() < deadline:
        result = condition()
        if result:
            return result
        time.sleep(0.005)
    if args.shots:
        xwin.shoot(xwin.root(), "%s/windows-failed.png" % args.shots)
    game.kill()
    sys.exit("windows_game: %s" % what)


def client_origin(window):
    """Wine frames the window itself: the client area starts where the play
    area's black, which begins on the frame's inside, is less the area's
    offset. Until the window is painted it may be black all over."""
    for y in range(1, 80):
        if xwin.pixel(window, 60, y) == xwin.BLACK and xwin.pixel(window, 60, y - 1) not in (None, xwin.BLACK):
            for x in range(1, 60):
                if xwin.pixel(window, x, y + 5) == xwin.BLACK:
                    return x - AREA[0], y - AREA[1]
    return None


def shoot(window, name):
    if args.shots:
        xwin.shoot(window, "%s/%s" % (args.shots, name))


# The pointer starts in the middle of the screen, where a button of the new
# window may well lie: drawn hovered, its outline would not be found.
xwin.move(xwin.root(), 0, 0)
start = time.monotonic()
if args.open:
    command = ["wine", "start", "/wait", "/unix", args.open]
else:
    command = ["wine", args.exe] + ([args.quiz] if args.quiz else [])
game = subprocess.Popen(command)
wait("no window", lambda: xwin.windows(name="Wrigglet"))


def painted_window():
    """The game's window, once its play area shows: any other window of that
    name (one being torn down, say) cannot be read."""
    for found in xwin.windows(name="Wrigglet"):
        if client_origin(found):
            return found
    return None


window = wait("the play area was never painted", painted_window)
painted = time.monotonic() - start
print("windows_game: start to first paint %.0f ms" % (painted * 1000), flush=True)


def at(point, client=None):
    """The pixel at a point of the client area."""
    client = client or origin
    return xwin.pixel(window, client[0] + point[0], client[1] + point[1])


def menu_origin():
    """The client area's origin once the menu shows there: the title box's
    fill. Found again each time, since a window caught half painted gives a
    wrong origin."""
    found = client_origin(window)
    return found if found and at(xwin.inside(TITLE), found) == xwin.DARK_GREY else None


origin = wait("no menu", menu_origin)


def menu_outlines():
    """Whether Read, Start and Exit are outlined in grey one above the other,
    each top and bottom edge where the layout puts it, in a column across
    them: then the whole menu has reached the screen."""
    x = MENU[0][0] + 4
    grey = [y for y in range(MENU[0][1] - 8, MENU[-1][3] + 8) if at((x, y)) == xwin.GREY]
    edges = [y for i, y in enumerate(grey) if i == 0 or grey[i - 1] != y - 1]
    return edges == [y for rect in MENU for y in (rect[1], rect[3] - 1)]


def click(rect):
    x, y = xwin.centre(rect)
    xwin.click(window, origin[0] + x, origin[1] + y)


def has_tile():
    """Whether a letter tile shows in the play area: on a 10-pixel grid every
    30-pixel tile is hit."""
    rows = xwin.pixels(window, (origin[0] + AREA[0], origin[1] + AREA[1], origin[0] + AREA[2], origin[1] + AREA[3]))
    return rows is not None and any(row[x] == xwin.TILE for row in rows[::10] for x in range(0, len(row), 10))


wait("the menu buttons are not where they belong", menu_outlines)
time.sleep(0.3)
shoot(window, "windows-menu.png")

click(MENU[1])
# Play mode: the Stop button below the area, the tiles scattered.
wait("Start did not enter play mode", lambda: at(xwin.inside(STOP, 2)) == xwin.DARK_GREY)
wait("no letter tiles: the question file was not loaded", has_tile)
time.sleep(0.3)
shoot(window, "windows-play.png")
click(STOP)
wait("Stop did not return to the menu", lambda: at(xwin.inside(TITLE)) == xwin.DARK_GREY)
click(MENU[2])
try:
    code = game.wait(timeout=20)
except subprocess.TimeoutExpired:
    game.kill()
    sys.exit("windows_game: Exit did not end the program")
if code != 0:
    sys.exit("windows_game: the program ended with %d" % code)
print("windows_game: menu, play, Stop and Exit work")
