#!/usr/bin/env bash
# Measures the game from outside under Xvfb: the time from starting the
# process to its window's first paint (median of N starts), its resident
# memory in menu mode and while a quiz is played, and how fast Stop ends the
# worker thread and Exit the process while a question pause runs.
# Usage: scripts/measure.sh [starts, default 10]
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
starts=${1:-10}
build=$root/build/shots

scripts/deps.sh run xdotool python3
. scripts/xvfb.sh

cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Release -DWRIGGLET_TESTS=OFF -DWRIGGLET_BENCH=OFF >/dev/null
cmake --build "$build" -j"$(nproc)" --target wrigglet >/dev/null

# A white root: an unpainted window shows white, never the game's colours.
start_xvfb -wr

cd questions
python3 - "$build/app/wrigglet" "$starts" <<'PYTHON'
import ctypes
import ctypes.util
import os
import statistics
import subprocess
import sys
import time

game, starts = sys.argv[1], int(sys.argv[2])

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
x11.XFlush.argtypes = [ctypes.c_void_p]
x11.XKeysymToKeycode.argtypes = [ctypes.c_void_p, ctypes.c_ulong]
x11.XTranslateCoordinates.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_ulong, ctypes.c_int,
                                      ctypes.c_int] + [ctypes.c_void_p] * 3
# Input sent straight to the server, so that a time taken includes no tool's start.
xtst = ctypes.CDLL(ctypes.util.find_library("Xtst") or "libXtst.so.6")
xtst.XTestFakeMotionEvent.argtypes = [ctypes.c_void_p, ctypes.c_int, ctypes.c_int, ctypes.c_int, ctypes.c_ulong]
xtst.XTestFakeButtonEvent.argtypes = [ctypes.c_void_p, ctypes.c_uint, ctypes.c_int, ctypes.c_ulong]
xtst.XTestFakeKeyEvent.argtypes = [ctypes.c_void_p, ctypes.c_uint, ctypes.c_int, ctypes.c_ulong]

# Reading an unmapped or vanished window is an X error; it only means "not yet".
ERROR_HANDLER = ctypes.CFUNCTYPE(ctypes.c_int, ctypes.c_void_p, ctypes.c_void_p)
ignore_errors = ERROR_HANDLER(lambda display, event: 0)
x11.XSetErrorHandler(ignore_errors)

dpy = x11.XOpenDisplay(None)
root = x11.XDefaultRootWindow(dpy)
ALL_PLANES, Z_PIXMAP = 0xFFFFFFFF, 2


def named_windows(name):
    """Top-level windows called name (there is no window manager)."""
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
    """The window's pixel as 0xRRGGBB, or None while it is not viewable."""
    image = x11.XGetImage(dpy, window, x, y, 1, 1, ALL_PLANES, Z_PIXMAP)
    x11.XSync(dpy, 0)
    if not image:
        return None
    value = x11.XGetPixel(image, 0, 0) & 0xFFFFFF
    x11.XDestroyImage(image)
    return value


def painted(window):
    # The play area's black and the title box's fill: the game's own colours.
    return pixel(window, 20, 20) == 0x000000 and pixel(window, 40, 60) == 0x262626


def start_game():
    """Starts the game; returns the process, its window and the times (s)
    from the start to the window being viewable and to its first paint."""
    t0 = time.perf_counter()
    proc = subprocess.Popen([game], stderr=subprocess.DEVNULL)
    window, t_map = None, None
    while time.perf_counter() - t0 < 20:
        if window is None:
            for w in named_windows(b"Wrigglet"):
                if pixel(w, 0, 0) is not None:
                    window, t_map = w, time.perf_counter() - t0
        if window is not None and painted(window):
            return proc, window, t_map, time.perf_counter() - t0
        time.sleep(0.002)
    proc.kill()
    sys.exit("measure: the window was not painted within 20 s")


def stop_game(proc):
    proc.terminate()
    proc.wait()


def memory(pid):
    """VmRSS and VmHWM in KiB."""
    fields = {}
    with open(f"/proc/{pid}/status") as f:
        for line in f:
            key, _, value = line.partition(":")
            if key in ("VmRSS", "VmHWM"):
                fields[key] = int(value.split()[0])
    return fields["VmRSS"], fields["VmHWM"]


def xdotool(*args):
    subprocess.run(["xdotool", *args], check=True)


def click(window, left, top, right, bottom):
    xdotool("mousemove", "--window", str(window), str((left + right) // 2),
            str((top + bottom) // 2), "click", "1")


READ, START, EXIT, STOP = (126, 107, 221, 139), (126, 146, 221, 178), (126, 185, 221, 217), (258, 245, 353, 277)


def fast_click(window, rect):
    """Clicks the middle of rect through XTest; returns when the release was sent."""
    x, y = ctypes.c_int(), ctypes.c_int()
    child = ctypes.c_ulong()
    x11.XTranslateCoordinates(dpy, window, root, (rect[0] + rect[2]) // 2, (rect[1] + rect[3]) // 2,
                              ctypes.byref(x), ctypes.byref(y), ctypes.byref(child))
    xtst.XTestFakeMotionEvent(dpy, -1, x.value, y.value, 0)
    xtst.XTestFakeButtonEvent(dpy, 1, 1, 0)
    xtst.XTestFakeButtonEvent(dpy, 1, 0, 0)
    x11.XFlush(dpy)
    return time.perf_counter()


def fast_escape(window):
    subprocess.run(["xdotool", "windowfocus", "--sync", str(window)], stderr=subprocess.DEVNULL)
    time.sleep(0.1)
    code = x11.XKeysymToKeycode(dpy, 0xFF1B)
    xtst.XTestFakeKeyEvent(dpy, code, 1, 0)
    xtst.XTestFakeKeyEvent(dpy, code, 0, 0)
    x11.XFlush(dpy)
    return time.perf_counter()


def read_file(proc, window, name):
    """Reads a question file through the Read button's file chooser."""
    click(window, *READ)
    time.sleep(1.5)
    chooser = subprocess.run(["xdotool", "search", "--onlyvisible", "--pid", str(proc.pid)],
                             capture_output=True, text=True).stdout.split()
    chooser = [w for w in chooser if int(w) != window]
    if not chooser:
        sys.exit("measure: the file chooser did not open")
    subprocess.run(["xdotool", "windowfocus", "--sync", chooser[0]], stderr=subprocess.DEVNULL)
    xdotool("type", "--delay", "20", name)
    xdotool("key", "Return")
    time.sleep(1)


def threads(pid):
    return set(os.listdir(f"/proc/{pid}/task"))


maps, paints = [], []
for run in range(starts):
    proc, window, t_map, t_paint = start_game()
    maps.append(t_map * 1000)
    paints.append(t_paint * 1000)
    stop_game(proc)
    time.sleep(0.3)

print(f"start to first paint, {starts} starts: median {statistics.median(paints):.0f} ms "
      f"(min {min(paints):.0f}, max {max(paints):.0f}); "
      f"to a viewable window: median {statistics.median(maps):.0f} ms")

proc, window, _, _ = start_game()
time.sleep(1)
rss_menu, _ = memory(proc.pid)
read_file(proc, window, "fruits_english.csv")
click(window, *START)
samples = []
for _ in range(40):  # 10 s of the first questions
    time.sleep(0.25)
    samples.append(memory(proc.pid)[0])
_, hwm = memory(proc.pid)
# The Stop button is drawn in play mode only.
if pixel(window, 300, 250) == pixel(window, 5, 5):
    sys.exit("measure: the quiz did not start")
click(window, *STOP)
stop_game(proc)
print(f"resident memory: menu {rss_menu / 1024:.1f} MiB; playing "
      f"{statistics.median(samples) / 1024:.1f} MiB median, {max(samples) / 1024:.1f} MiB max "
      f"(VmRSS every 0.25 s for 10 s); peak VmHWM {hwm / 1024:.1f} MiB")


def summary(values):
    return (f"median {statistics.median(values):.0f} ms (min {min(values):.0f}, max {max(values):.0f}, "
            f"{len(values)} runs)")


# Half a second after Start the first question's one-second pause is on.
# Stop: until the worker thread has gone from the process; Exit (after that
# Stop) and Escape (in play mode): until the process has ended.
stops, exits, escapes = [], [], []
for run in range(5):
    for escape in (False, True):
        proc, window, _, _ = start_game()
        read_file(proc, window, "fruits_english.csv")
        before = threads(proc.pid)
        fast_click(window, START)
        time.sleep(0.5)
        worker = threads(proc.pid) - before
        if not worker:
            sys.exit("measure: no worker thread after Start")
        if escape:
            t0 = fast_escape(window)
        else:
            t0 = fast_click(window, STOP)
            while worker & threads(proc.pid):
                time.sleep(0.0005)
            stops.append((time.perf_counter() - t0) * 1000)
            t0 = fast_click(window, EXIT)
        proc.wait()
        (escapes if escape else exits).append((time.perf_counter() - t0) * 1000)
print(f"Stop in a question pause to the worker's end: {summary(stops)}")
print(f"Exit after Stop to the process's end: {summary(exits)}")
print(f"Escape in a question pause to the process's end: {summary(escapes)}")
PYTHON
