"""Drives the game's window from outside, under an X server: finds the window,
reads the play area's pixels, clicks the drawn buttons and presses keys.
Used by the scripts that measure the game and take its screenshots.
"""
import ctypes
import ctypes.util
import os
import subprocess
import sys
import time

_x11 = ctypes.CDLL(ctypes.util.find_library("X11") or "libX11.so.6")


class _XImage(ctypes.Structure):
    _fields_ = [("width", ctypes.c_int), ("height", ctypes.c_int), ("xoffset", ctypes.c_int),
                ("format", ctypes.c_int), ("data", ctypes.c_void_p), ("byte_order", ctypes.c_int),
                ("bitmap_unit", ctypes.c_int), ("bitmap_bit_order", ctypes.c_int),
                ("bitmap_pad", ctypes.c_int), ("depth", ctypes.c_int),
                ("bytes_per_line", ctypes.c_int), ("bits_per_pixel", ctypes.c_int)]


_x11.XOpenDisplay.restype = ctypes.c_void_p
_x11.XOpenDisplay.argtypes = [ctypes.c_char_p]
_x11.XGetImage.restype = ctypes.POINTER(_XImage)
_x11.XGetImage.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int, ctypes.c_int,
                           ctypes.c_uint, ctypes.c_uint, ctypes.c_ulong, ctypes.c_int]
_x11.XDestroyImage.argtypes = [ctypes.POINTER(_XImage)]
# Reading an unmapped or vanished window is an X error; it only means "not yet".
_ERROR_HANDLER = ctypes.CFUNCTYPE(ctypes.c_int, ctypes.c_void_p, ctypes.c_void_p)
_ignore_errors = _ERROR_HANDLER(lambda display, event: 0)
_x11.XSetErrorHandler(_ignore_errors)

# The window's layout in client pixels: (left, top, right, bottom).
AREA = (11, 11, 353, 238)
READ = (126, 107, 221, 139)
START = (126, 146, 221, 178)
STOP = (258, 245, 353, 277)
TILE = 0xFAFAFA
GOLD = 0xE5D100  # the status text: a question or a verdict
DARK_GREY = 0x262626  # the Stop button's face


def xdotool(*args):
    subprocess.run(["xdotool", *args], check=True, stderr=subprocess.DEVNULL)


class Game:
    """The game started in folder cwd with the given arguments."""

    def __init__(self, binary, args=(), cwd=None):
        self.dpy = _x11.XOpenDisplay(None)
        self.proc = subprocess.Popen([binary, *args], cwd=cwd, stderr=subprocess.DEVNULL)
        self.window = None
        for _ in range(200):
            found = self.visible_windows()
            if found:
                self.window = found[0]
                break
            time.sleep(0.1)
        if self.window is None:
            self.close()
            sys.exit("xplay: the window did not appear")
        time.sleep(1)

    def close(self):
        self.proc.terminate()
        self.proc.wait()

    def visible_windows(self):
        out = subprocess.run(["xdotool", "search", "--onlyvisible", "--pid", str(self.proc.pid)],
                             capture_output=True, text=True).stdout.split()
        return [int(w) for w in out]

    def pixels(self, rect):
        """The rectangle's pixels as rows of 0xRRGGBB, or None while unreadable."""
        left, top, right, bottom = rect
        w, h = right - left, bottom - top
        p = _x11.XGetImage(self.dpy, self.window, left, top, w, h, 0xFFFFFFFF, 2)
        if not p:
            return None
        img = p.contents
        raw = ctypes.string_at(img.data, img.bytes_per_line * h)
        stride = img.bytes_per_line // 4
        _x11.XDestroyImage(p)
        flat = memoryview(raw).cast("I")
        return [[v & 0xFFFFFF for v in flat[y * stride:y * stride + w]] for y in range(h)]

    def area(self):
        """(centres of the letter tiles, whether a status text shows), or None."""
        rows = self.pixels(AREA)
        if rows is None:
            return None
        tiles = []
        gold = False
        for y in range(1, len(rows) - 1):
            row, above, below = rows[y], rows[y - 1], rows[y + 1]
            gold = gold or GOLD in row
            for x in range(1, len(row) - 1):
                # A tile's top-left corner: white, with no white left or above.
                if row[x] == TILE and row[x - 1] != TILE and above[x] != TILE \
                        and row[x + 1] == TILE and below[x] == TILE:
                    tiles.append((AREA[0] + x + 15, AREA[1] + y + 15))
        return tiles, gold

    def playing(self):
        """Whether the Stop button is drawn, that is play mode."""
        rows = self.pixels((STOP[0] + 2, STOP[1] + 2, STOP[0] + 3, STOP[1] + 3))
        return rows is not None and rows[0][0] == DARK_GREY

    def click(self, rect):
        left, top, right, bottom = rect
        xdotool("mousemove", "--window", str(self.window), str((left + right) // 2),
                str((top + bottom) // 2), "click", "1")

    def key(self, name):
        xdotool("key", name)

    def focus(self):
        subprocess.run(["xdotool", "windowfocus", "--sync", str(self.window)],
                       stderr=subprocess.DEVNULL)

    def read(self, name):
        """Read, and the file name typed into the chooser."""
        self.click(READ)
        chooser = []
        for _ in range(100):
            chooser = [w for w in self.visible_windows() if w != self.window]
            if chooser:
                break
            time.sleep(0.1)
        if not chooser:
            sys.exit("xplay: the file chooser did not open")
        time.sleep(0.5)
        subprocess.run(["xdotool", "windowfocus", "--sync", str(chooser[0])],
                       stderr=subprocess.DEVNULL)
        xdotool("type", "--delay", "20", name)
        xdotool("key", "Return")
        for _ in range(100):
            if self.visible_windows() == [self.window]:
                break
            time.sleep(0.1)
        time.sleep(0.5)

    def cpu_seconds(self):
        """The process's user and system time so far."""
        with open(f"/proc/{self.proc.pid}/stat") as f:
            fields = f.read().rsplit(")", 1)[1].split()
        return (int(fields[11]) + int(fields[12])) / os.sysconf("SC_CLK_TCK")


def mow(game, timeout=300):
    """Plays the quiz to its end without aiming: the snake sweeps the area row
    by row (a row across, then two steps down), timed by the step delay that
    the number of tiles eaten gives, until play mode ends."""
    deadline = time.monotonic() + timeout
    answer = 0
    while game.playing():
        if time.monotonic() > deadline:
            sys.exit("xplay: the quiz did not end")
        state = game.area()
        if state is None:
            continue
        tiles, status = state
        if status:
            # The question or the verdict: a new answer's tiles, all there.
            answer = len(tiles)
            time.sleep(0.1)
            continue
        delay = max(5, 200 - 15 * max(0, answer - len(tiles))) / 1000
        game.key("Right")
        time.sleep(18 * delay)
        game.key("Down")
        time.sleep(2 * delay)
