"""Drives the game's window from outside under an X server (with or without a
window manager): finds windows by process or name, reads their pixels, fakes the
pointer and the keys through XTest, and knows where the window's controls
lie (game/window_template.h) and how fast the snake steps
(run/quiz_runner.h). Every script that drives an X window uses it:
measure.sh, measure-cpu.sh, measure-load.sh, screenshots.sh and windows_game.py.
"""
import ctypes
import ctypes.util
import functools
import os
import re
import subprocess
import sys
import time

from ctypes import POINTER, byref, c_char_p, c_int, c_uint, c_ulong, c_void_p

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))

# Colours the game draws, as 0xRRGGBB.
BLACK = 0x000000  # the play area
TILE = 0xFAFAFA
GOLD = 0xE5D100  # the status text: a question or a verdict
DARK_GREY = 0x262626  # the title box's and the buttons' face
GREY = 0x8C8C8C  # the buttons' outline

_x11 = ctypes.CDLL(ctypes.util.find_library("X11") or "libX11.so.6")
# Input goes straight to the server: no tool's start adds to a time taken.
_xtst = ctypes.CDLL(ctypes.util.find_library("Xtst") or "libXtst.so.6")


class _XImage(ctypes.Structure):
    _fields_ = [("width", c_int), ("height", c_int), ("xoffset", c_int), ("format", c_int),
                ("data", c_void_p), ("byte_order", c_int), ("bitmap_unit", c_int),
                ("bitmap_bit_order", c_int), ("bitmap_pad", c_int), ("depth", c_int),
                ("bytes_per_line", c_int), ("bits_per_pixel", c_int)]


class _XWindowAttributes(ctypes.Structure):
    _fields_ = [("x", c_int), ("y", c_int), ("width", c_int), ("height", c_int),
                ("border_width", c_int), ("depth", c_int), ("visual", c_void_p), ("root", c_ulong),
                ("class_", c_int), ("bit_gravity", c_int), ("win_gravity", c_int),
                ("backing_store", c_int), ("backing_planes", c_ulong), ("backing_pixel", c_ulong),
                ("save_under", c_int), ("colormap", c_ulong), ("map_installed", c_int),
                ("map_state", c_int), ("all_event_masks", ctypes.c_long),
                ("your_event_mask", ctypes.c_long), ("do_not_propagate_mask", ctypes.c_long),
                ("override_redirect", c_int), ("screen", c_void_p)]


def _declare(lib, name, restype, *argtypes):
    function = getattr(lib, name)
    function.restype = restype
    function.argtypes = list(argtypes)


_declare(_x11, "XOpenDisplay", c_void_p, c_char_p)
_declare(_x11, "XDefaultRootWindow", c_ulong, c_void_p)
_declare(_x11, "XQueryTree", c_int, c_void_p, c_ulong, c_void_p, c_void_p, c_void_p, c_void_p)
_declare(_x11, "XFetchName", c_int, c_void_p, c_ulong, c_void_p)
_declare(_x11, "XFree", c_int, c_void_p)
_declare(_x11, "XGetWindowAttributes", c_int, c_void_p, c_ulong, POINTER(_XWindowAttributes))
_declare(_x11, "XInternAtom", c_ulong, c_void_p, c_char_p, c_int)
_declare(_x11, "XGetWindowProperty", c_int, c_void_p, c_ulong, c_ulong, ctypes.c_long, ctypes.c_long,
         c_int, c_ulong, c_void_p, c_void_p, c_void_p, c_void_p, c_void_p)
_declare(_x11, "XGetImage", POINTER(_XImage), c_void_p, c_ulong, c_int, c_int, c_uint, c_uint,
         c_ulong, c_int)
_declare(_x11, "XDestroyImage", c_int, POINTER(_XImage))
_declare(_x11, "XTranslateCoordinates", c_int, c_void_p, c_ulong, c_ulong, c_int, c_int,
         c_void_p, c_void_p, c_void_p)
_declare(_x11, "XStringToKeysym", c_ulong, c_char_p)
_declare(_x11, "XKeysymToKeycode", ctypes.c_ubyte, c_void_p, c_ulong)
_declare(_x11, "XKeycodeToKeysym", c_ulong, c_void_p, ctypes.c_ubyte, c_int)
_declare(_x11, "XSetInputFocus", c_int, c_void_p, c_ulong, c_int, c_ulong)
_declare(_x11, "XGetInputFocus", c_int, c_void_p, c_void_p, c_void_p)
_declare(_x11, "XFlush", c_int, c_void_p)
_declare(_xtst, "XTestFakeMotionEvent", c_int, c_void_p, c_int, c_int, c_int, c_ulong)
_declare(_xtst, "XTestFakeButtonEvent", c_int, c_void_p, c_uint, c_int, c_ulong)
_declare(_xtst, "XTestFakeKeyEvent", c_int, c_void_p, c_uint, c_int, c_ulong)

# Reading an unmapped or vanished window is an X error; it only means "not yet".
_ERROR_HANDLER = ctypes.CFUNCTYPE(c_int, c_void_p, c_void_p)
_ignore_errors = _ERROR_HANDLER(lambda display, event: 0)
_x11.XSetErrorHandler(_ignore_errors)

_IS_VIEWABLE, _Z_PIXMAP, _ALL_PLANES, _XA_CARDINAL = 2, 2, 0xFFFFFFFF, 6
_dpy = None


def display():
    """The connection to $DISPLAY, opened on first use."""
    global _dpy
    if _dpy is None:
        _dpy = _x11.XOpenDisplay(None)
        if not _dpy:
            sys.exit("xwin: no X display")
    return _dpy


def root():
    return _x11.XDefaultRootWindow(display())


def _pid_of(window, atom):
    kind, size, count, after, data = c_ulong(), c_int(), c_ulong(), c_ulong(), c_void_p()
    if _x11.XGetWindowProperty(display(), window, atom, 0, 1, 0, _XA_CARDINAL, byref(kind), byref(size),
                               byref(count), byref(after), byref(data)) != 0 or not data:
        return None
    pid = ctypes.cast(data, POINTER(c_ulong))[0] if count.value else None
    _x11.XFree(data)
    return pid


def _name_of(window):
    title = c_char_p()
    if not _x11.XFetchName(display(), window, byref(title)) or not title.value:
        return None
    name = title.value.decode("utf-8", "replace")
    _x11.XFree(title)
    return name


def _children(window):
    root_ret, parent, children, count = c_ulong(), c_ulong(), POINTER(c_ulong)(), c_uint()
    if not _x11.XQueryTree(display(), window, byref(root_ret), byref(parent), byref(children), byref(count)):
        return []
    found = [children[i] for i in range(count.value)]
    if children:
        _x11.XFree(children)
    return found


def windows(name=None, pid=None):
    """The viewable top-level windows with that title and of that process
    (its _NET_WM_PID), in stacking order from the bottom; under a window
    manager, inside its frames."""
    tops = []
    for window in _children(root()):
        tops += [window] + _children(window)
    pid_atom = _x11.XInternAtom(display(), b"_NET_WM_PID", 0) if pid is not None else None
    found = []
    for window in tops:
        attributes = _XWindowAttributes()
        if not _x11.XGetWindowAttributes(display(), window, byref(attributes)) \
                or attributes.map_state != _IS_VIEWABLE:
            continue
        if (name is None or _name_of(window) == name) and (pid is None or _pid_of(window, pid_atom) == pid):
            found.append(window)
    return found


def size(window):
    """The window's (width, height), or None once it is gone."""
    attributes = _XWindowAttributes()
    if not _x11.XGetWindowAttributes(display(), window, byref(attributes)):
        return None
    return attributes.width, attributes.height


def pixels(window, rect):
    """The rectangle's pixels as rows of 0xRRGGBB, or None while unreadable."""
    left, top, right, bottom = rect
    w, h = right - left, bottom - top
    image = _x11.XGetImage(display(), window, left, top, w, h, _ALL_PLANES, _Z_PIXMAP)
    if not image:
        return None
    stride = image.contents.bytes_per_line
    raw = ctypes.string_at(image.contents.data, stride * h)
    _x11.XDestroyImage(image)
    # A 24-bit display keeps a pixel in 32 bits.
    flat = memoryview(raw).cast("I")
    return [[v & 0xFFFFFF for v in flat[y * stride // 4:y * stride // 4 + w]] for y in range(h)]


def pixel(window, x, y):
    rows = pixels(window, (x, y, x + 1, y + 1))
    return rows[0][0] if rows else None


def shoot(window, path):
    """Saves the window as a PNG, without time stamps, so that a rerun
    changes nothing."""
    w, h = size(window)
    rows = pixels(window, (0, 0, w, h))
    if rows is None:
        sys.exit(f"xwin: window {window} cannot be read")
    data = b"".join(v.to_bytes(3, "big") for row in rows for v in row)
    subprocess.run(["convert", "-size", f"{w}x{h}", "-depth", "8", "rgb:-", "-strip", f"png:{path}"],
                   input=data, check=True)


def move(window, x, y):
    """Moves the pointer to (x, y) in the window."""
    to_x, to_y, child = c_int(), c_int(), c_ulong()
    _x11.XTranslateCoordinates(display(), window, root(), x, y, byref(to_x), byref(to_y), byref(child))
    _xtst.XTestFakeMotionEvent(display(), -1, to_x.value, to_y.value, 0)
    _x11.XFlush(display())


def click(window, x, y):
    """Clicks the left button at (x, y) in the window; returns the time
    (time.perf_counter) at which the release was sent."""
    move(window, x, y)
    _xtst.XTestFakeButtonEvent(display(), 1, 1, 0)
    _xtst.XTestFakeButtonEvent(display(), 1, 0, 0)
    _x11.XFlush(display())
    return time.perf_counter()


def _press(keysym):
    dpy = display()
    code = _x11.XKeysymToKeycode(dpy, keysym)
    if not code:
        sys.exit(f"xwin: no key makes keysym {keysym:#x}")
    shift = _x11.XKeycodeToKeysym(dpy, code, 0) != keysym
    shift_code = _x11.XKeysymToKeycode(dpy, _x11.XStringToKeysym(b"Shift_L"))
    if shift:
        _xtst.XTestFakeKeyEvent(dpy, shift_code, 1, 0)
    _xtst.XTestFakeKeyEvent(dpy, code, 1, 0)
    _xtst.XTestFakeKeyEvent(dpy, code, 0, 0)
    if shift:
        _xtst.XTestFakeKeyEvent(dpy, shift_code, 0, 0)
    _x11.XFlush(dpy)
    return time.perf_counter()


def key(name):
    """Presses and releases the key with that keysym name ("Down", "Escape")
    in the focused window; returns the time at which the release was sent."""
    return _press(_x11.XStringToKeysym(name.encode()))


def type_text(text, delay=0.02):
    """Types printable ASCII text (Latin-1 keysyms are the characters' codes)."""
    for char in text:
        _press(ord(char))
        time.sleep(delay)


def focus(window, seconds=2):
    """Gives the window the keyboard focus and waits until it has it."""
    _x11.XSetInputFocus(display(), window, 2, 0)  # RevertToParent, CurrentTime
    deadline = time.monotonic() + seconds
    focused, revert = c_ulong(), c_int()
    while time.monotonic() < deadline:
        _x11.XGetInputFocus(display(), byref(focused), byref(revert))
        if focused.value == window:
            return
        time.sleep(0.01)


def read_template(path=os.path.join(ROOT, "game", "window_template.h")):
    """The dialog template's sizes in dialog units, from its #define lines:
    {"DIALOG": (width, height), "AREA": (x, y, width, height), ...}."""
    with open(path) as f:
        text = f.read()
    found = re.findall(r"^#define WRIGGLET_(?:RECT_(\w+)|DIALOG_SIZE)\s+([\d, ]+)$", text, re.M)
    return {name or "DIALOG": tuple(int(v) for v in values.split(",")) for name, values in found}


@functools.lru_cache(maxsize=None)
def _runner_constants(path=os.path.join(ROOT, "run", "quiz_runner.h")):
    with open(path) as f:
        return {k: int(v) for k, v in re.findall(r"static constexpr int32_t (k\w+) = (\d+);", f.read())}


def step_delay(segments):
    """The game's wait after a step in seconds, with that many segments
    eaten, from the quiz runner's constants."""
    c = _runner_constants()
    return max(c["kFastestStepDelay"], c["kBaseStepDelay"] - c["kDelayPerSegment"] * segments) / 1000


class Layout:
    """Where the window's controls lie in window pixels. Dialog units become
    pixels through the dialog font's base units: 6 by 12 in the Qt window,
    6 by 13 in the Windows dialog under Wine."""

    def __init__(self, base=(6, 12)):
        self.units = read_template()
        self.base = base
        width, height = self.units["DIALOG"]
        _, _, self.width, self.height = self.rect((0, 0, width, height))

    def rect(self, control):
        """A control's rectangle (or one given in dialog units) in window
        pixels, (left, top, right, bottom): x, y, width and height each
        converted on its own, halves rounded up, as the dialog does."""
        x, y, w, h = self.units[control] if isinstance(control, str) else control
        bx, by = self.base
        left, top = (x * bx * 2 + 4) // 8, (y * by * 2 + 8) // 16
        return left, top, left + (w * bx * 2 + 4) // 8, top + (h * by * 2 + 8) // 16


def centre(rect):
    left, top, right, bottom = rect
    return (left + right) // 2, (top + bottom) // 2


def inside(rect, d=3):
    """A point d pixels inside the rectangle's top-left corner: past its
    border, on its fill."""
    return rect[0] + d, rect[1] + d


class Game:
    """The Qt game started in folder cwd with the given arguments, once its
    window shows; started and shown are the times (time.perf_counter) of its
    start and of the window becoming viewable."""

    def __init__(self, binary, args=(), cwd=None, settle=1.0, timeout=20):
        self.layout = Layout()
        self.started = time.perf_counter()
        self.proc = subprocess.Popen([binary, *args], cwd=cwd, stderr=subprocess.DEVNULL)
        found = []
        while not found:
            if time.perf_counter() - self.started > timeout:
                self.close()
                sys.exit("xwin: the window did not appear")
            time.sleep(0.002)
            found = windows(pid=self.proc.pid)
        self.window = found[0]
        self.shown = time.perf_counter()
        time.sleep(settle)

    def close(self):
        self.proc.terminate()
        self.proc.wait()

    def rect(self, control):
        return self.layout.rect(control)

    def pixel(self, x, y):
        return pixel(self.window, x, y)

    def painted(self):
        """Whether the game's own colours show: the area's black, the title
        box's fill."""
        return self.pixel(*inside(self.rect("AREA"))) == BLACK \
            and self.pixel(*inside(self.rect("TITLE"))) == DARK_GREY

    def area(self):
        """(centres of the letter tiles, whether a status text shows), or None."""
        area = self.rect("AREA")
        rows = pixels(self.window, area)
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
                    tiles.append((area[0] + x + 15, area[1] + y + 15))
        return tiles, gold

    def playing(self):
        """Whether the Stop button is drawn, that is play mode."""
        return self.pixel(*inside(self.rect("STOP"), 2)) == DARK_GREY

    def click(self, control):
        """Clicks the middle of a control; returns the time the release was sent."""
        return click(self.window, *centre(self.rect(control)))

    def move_away(self):
        """The pointer to the margin left of Stop, so that no button is drawn hovered."""
        area = self.rect("AREA")
        move(self.window, area[0] // 2, (area[3] + self.layout.height) // 2)

    def key(self, name):
        return key(name)

    def focus(self):
        focus(self.window)

    def read(self, name):
        """Read, and the file name typed into the chooser."""
        self.click("READ")
        chooser = []
        for _ in range(100):
            chooser = [w for w in windows(pid=self.proc.pid) if w != self.window]
            if chooser:
                break
            time.sleep(0.1)
        if not chooser:
            sys.exit("xwin: the file chooser did not open")
        time.sleep(0.5)
        focus(chooser[0])
        type_text(name)
        key("Return")
        for _ in range(100):
            if windows(pid=self.proc.pid) == [self.window]:
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
            sys.exit("xwin: the quiz did not end")
        state = game.area()
        if state is None:
            continue
        tiles, status = state
        if status:
            # The question or the verdict: a new answer's tiles, all there.
            answer = len(tiles)
            time.sleep(0.1)
            continue
        delay = step_delay(max(0, answer - len(tiles)))
        game.key("Right")
        time.sleep(18 * delay)
        game.key("Down")
        time.sleep(2 * delay)
