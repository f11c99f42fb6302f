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
import ctypes
import ctypes.util
import subprocess
import sys
import time

parser = argparse.ArgumentParser()
parser.add_argument("--shots")
parser.add_argument("--quiz")
parser.add_argument("--open")
parser.add_argument("exe", nargs="?")
args = parser.parse_args()

x11 = ctypes.CDLL(ctypes.util.find_library("X11") or "libX11.so.6")
x11.XOpenDisplay.restype = ctypes.c_void_p
x11.XOpenDisplay.argtypes = [ctypes.c_char_p]
x11.XDefaultRootWindow.restype = ctypes.c_ulong
x11.XDefaultRootWindow.argtypes = [ctypes.c_void_p]
x11.XQueryTree.argtypes = [ctypes.c_void_p, ctypes.c_ulong] + [ctypes.c_void_p] * 4
x11.XFetchName.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_void_p]
x11.XFree.argtypes = [ctypes.c_void_p]
x11.XGetImage.restype = ctypes.c_void_p
x11.XGetImage.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int, ctypes.c_int,
                          ctypes.c_uint, ctypes.c_uint, ctypes.c_ulong, ctypes.c_int]
x11.XGetPixel.restype = ctypes.c_ulong
x11.XGetPixel.argtypes = [ctypes.c_void_p, ctypes.c_int, ctypes.c_int]
x11.XDestroyImage.argtypes = [ctypes.c_void_p]
x11.XSync.argtypes = [ctypes.c_void_p, ctypes.c_int]
# Reading a window that is not viewable yet, or gone, only means "not now".
ERROR_HANDLER = ctypes.CFUNCTYPE(ctypes.c_int, ctypes.c_void_p, ctypes.c_void_p)
ignore_errors = ERROR_HANDLER(lambda display, event: 0)
x11.XSetErrorHandler(ignore_errors)
dpy = x11.XOpenDisplay(None)
if not dpy:
    sys.exit("windows_game: no X display")
root = x11.XDefaultRootWindow(dpy)


def windows_named(name):
    root_ret, parent_ret = ctypes.c_ulong(), ctypes.c_ulong()
    children, count = ctypes.POINTER(ctypes.c_ulong)(), ctypes.c_uint()
    if not x11.XQueryTree(dpy, root, ctypes.byref(root_ret), ctypes.byref(parent_ret),
                          ctypes.byref(children), ctypes.byref(count)):
        return []
    found = []
    for i in range(count.value):
        title = ctypes.c_char_p()
        if x11.XFetchName(dpy, children[i], ctypes.byref(title)) and title.value:
            if title.value == name:
                found.append(children[i])
            x11.XFree(title)
    if children:
        x11.XFree(children)
    return found


def pixel(window, x, y):
    """0xRRGGBB, or None while the window cannot be read."""
    image = x11.XGetImage(dpy, window, x, y, 1, 1, 0xFFFFFFFF, 2)
    x11.XSync(dpy, 0)
    if not image:
        return None
    value = x11.XGetPixel(image, 0, 0) & 0xFFFFFF
    x11.XDestroyImage(image)
    return value


def has_tile(window, origin):
    """Whether a letter tile shows in the play area: on a 10-pixel grid every
    30-pixel tile is hit."""
    image = x11.XGetImage(dpy, window, origin[0] + 11, origin[1] + 11, 340, 220, 0xFFFFFFFF, 2)
    x11.XSync(dpy, 0)
    if not image:
        return False
    found = any(x11.XGetPixel(image, x, y) & 0xFFFFFF == 0xFAFAFA
                for y in range(0, 220, 10) for x in range(0, 340, 10))
    x11.XDestroyImage(image)
    return found


def wait(what, condition, seconds=30):
    deadline = time.monotonic() + seconds
    while time.monotonic() < deadline:
        result = condition()
        if result:
            return result
        time.sleep(0.005)
    if args.shots:
        subprocess.run("import -window root miff:- | convert - -strip png:%s/windows-failed.png" % args.shots,
                       shell=True)
    game.kill()
    sys.exit("windows_game: %s" % what)


def client_origin(window):
    """Wine frames the window itself: the client area starts 11 pixels
    before the play area's black, which begins on the frame's inside. Until
    the window is painted it may be black all over."""
    for y in range(1, 80):
        if pixel(window, 60, y) == 0x000000 and pixel(window, 60, y - 1) not in (None, 0x000000):
            for x in range(1, 60):
                if pixel(window, x, y + 5) == 0x000000:
                    return x - 11, y - 11
    return None


def click(window, origin, rect):
    left, top, right, bottom = rect
    subprocess.run(["xdotool", "mousemove", "--window", str(window), str(origin[0] + (left + right) // 2),
                    str(origin[1] + (top + bottom) // 2), "click", "1"], check=True)


def shoot(window, name):
    if args.shots:
        subprocess.run("import -window %d miff:- | convert - -strip png:%s/%s" % (window, args.shots, name),
                       shell=True, check=True)


# The pointer starts in the middle of the screen, where a button of the new
# window may well lie: drawn hovered, its outline would not be found.
subprocess.run(["xdotool", "mousemove", "0", "0"], check=True)
start = time.monotonic()
if args.open:
    command = ["wine", "start", "/wait", "/unix", args.open]
else:
    command = ["wine", args.exe] + ([args.quiz] if args.quiz else [])
game = subprocess.Popen(command)
wait("no window", lambda: windows_named(b"Wrigglet"))


def painted_window():
    """The game's window, once its play area shows: any other window of that
    name (one being torn down, say) cannot be read."""
    for found in windows_named(b"Wrigglet"):
        if client_origin(found):
            return found
    return None


window = wait("the play area was never painted", painted_window)
painted = time.monotonic() - start
print("windows_game: start to first paint %.0f ms" % (painted * 1000), flush=True)


def menu_origin():
    """The client area's origin once the menu shows there: the title box's
    fill between its border and the title. Found again each time, since a
    window caught half painted gives a wrong origin."""
    found = client_origin(window)
    return found if found and pixel(window, found[0] + 30, found[1] + 45) == 0x262626 else None


origin = wait("no menu", menu_origin)


def at(x, y):
    return pixel(window, origin[0] + x, origin[1] + y)


# The buttons' places follow the dialog's font: read them off the screen.
# Read, Start and Exit, outlined in grey, one above the other, once the whole
# menu has reached the screen.


def menu_button_edges():
    grey = [y for y in range(100, 260) if at(130, y) == 0x8C8C8C]
    edges = [y for i, y in enumerate(grey) if i == 0 or grey[i - 1] != y - 1]
    return edges if len(edges) == 6 else None


edges = wait("the menu buttons are not where they belong", menu_button_edges)
button_height = edges[1] - edges[0] + 1
read, start_button, exit_button = [(126, y, 221, y + button_height) for y in edges[::2]]
time.sleep(0.3)
shoot(window, "windows-menu.png")

click(window, origin, start_button)
# Play mode: the Stop button below the area, the tiles scattered.
stop = wait("Start did not enter play mode",
            lambda: next(((258, y, 353, y + button_height) for y in range(230, 290)
                          if at(300, y) == 0x262626), None))
wait("no letter tiles: the question file was not loaded", lambda: has_tile(window, origin))
time.sleep(0.3)
shoot(window, "windows-play.png")
click(window, origin, stop)
wait("Stop did not return to the menu", lambda: at(30, 45) == 0x262626)
click(window, origin, exit_button)
try:
    code = game.wait(timeout=20)
except subprocess.TimeoutExpired:
    game.kill()
    sys.exit("windows_game: Exit did not end the program")
if code != 0:
    sys.exit("windows_game: the program ended with %d" % code)
print("windows_game: menu, play, Stop and Exit work")
