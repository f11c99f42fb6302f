#!/usr/bin/env bash
# Measures the game's processor use at top speed from outside, under Xvfb:
# plays a quiz of 20-letter answers by looking at the window and pressing
# arrow keys until at least 14 tiles are eaten and the snake runs in a lane
# with no tile left in it, then reads the process's CPU time over 10 s from
# /proc/PID/stat.
# Usage: scripts/measure-cpu.sh [game binary, default: built from this tree]
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
build=$root/build/shots
game=${1:-}

scripts/deps.sh run xdotool python3
. scripts/xvfb.sh

if [ -z "$game" ]; then
  cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Release -DWRIGGLET_TESTS=OFF -DWRIGGLET_BENCH=OFF >/dev/null
  cmake --build "$build" -j"$(nproc)" --target wrigglet >/dev/null
  game=$build/app/wrigglet
fi
game=$(realpath "$game")

start_xvfb
work=$(mktemp -d)
trap '[ -n "$game_pid" ] && kill "$game_pid" 2>/dev/null; kill "$xvfb_pid" 2>/dev/null; rm -rf "$work"' EXIT
for n in 1 2 3 4 5; do echo "ABCDEFGHIJKLMNOPQRST,Q$n"; done >"$work/cpu.csv"
cd "$work"

python3 - "$game" <<'PYTHON'
import ctypes
import ctypes.util
import os
import subprocess
import sys
import time

game = sys.argv[1]
x11 = ctypes.CDLL(ctypes.util.find_library("X11") or "libX11.so.6")


class XImage(ctypes.Structure):
    _fields_ = [("width", ctypes.c_int), ("height", ctypes.c_int), ("xoffset", ctypes.c_int),
                ("format", ctypes.c_int), ("data", ctypes.c_void_p), ("byte_order", ctypes.c_int),
                ("bitmap_unit", ctypes.c_int), ("bitmap_bit_order", ctypes.c_int),
                ("bitmap_pad", ctypes.c_int), ("depth", ctypes.c_int),
                ("bytes_per_line", ctypes.c_int), ("bits_per_pixel", ctypes.c_int)]


x11.XOpenDisplay.restype = ctypes.c_void_p
x11.XOpenDisplay.argtypes = [ctypes.c_char_p]
x11.XGetImage.restype = ctypes.POINTER(XImage)
x11.XGetImage.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int, ctypes.c_int,
                          ctypes.c_uint, ctypes.c_uint, ctypes.c_ulong, ctypes.c_int]
x11.XDestroyImage.argtypes = [ctypes.POINTER(XImage)]
ERROR_HANDLER = ctypes.CFUNCTYPE(ctypes.c_int, ctypes.c_void_p, ctypes.c_void_p)
ignore_errors = ERROR_HANDLER(lambda display, event: 0)
x11.XSetErrorHandler(ignore_errors)
dpy = x11.XOpenDisplay(None)

AREA = (11, 11, 342, 227)  # the play area in client pixels
TILE = 0xFAFAFA
GOLD = 0xE5D100  # status text: question, verdict


def area_state(window):
    """(tiles on the field, status text shown), or None while unreadable."""
    left, top, w, h = AREA
    p = x11.XGetImage(dpy, window, left, top, w, h, 0xFFFFFFFF, 2)
    if not p:
        return None
    img = p.contents
    raw = ctypes.string_at(img.data, img.bytes_per_line * h)
    x11.XDestroyImage(p)
    stride = img.bytes_per_line // 4
    px = [v & 0xFFFFFF for v in memoryview(raw).cast("I")]
    white = [v == TILE for v in px]
    gold = any(v == GOLD for v in px)
    tiles = 0
    for y in range(1, h - 1):
        row = y * stride
        for x in range(1, w - 1):
            i = row + x
            if white[i] and not white[i - 1] and not white[i - stride] and white[i + 1] \
                    and white[i + stride]:
                tiles += 1
    return tiles, gold


def xdotool(*args):
    subprocess.run(["xdotool", *args], check=True, stderr=subprocess.DEVNULL)


def visible_windows(pid):
    out = subprocess.run(["xdotool", "search", "--onlyvisible", "--pid", str(pid)],
                         capture_output=True, text=True).stdout.split()
    return [int(w) for w in out]


def click(window, left, top, right, bottom):
    xdotool("mousemove", "--window", str(window), str((left + right) // 2),
            str((top + bottom) // 2), "click", "1")


def cpu_ticks(pid):
    with open(f"/proc/{pid}/stat") as f:
        fields = f.read().rsplit(")", 1)[1].split()
    return int(fields[11]) + int(fields[12])  # utime + stime


proc = subprocess.Popen([game], stderr=subprocess.DEVNULL)
try:
    window = None
    for _ in range(200):
        ws = visible_windows(proc.pid)
        if ws:
            window = ws[0]
            break
        time.sleep(0.1)
    if window is None:
        sys.exit("measure-cpu: the window did not appear")
    time.sleep(1)
    click(window, 126, 107, 221, 139)  # Read
    chooser = []
    for _ in range(100):
        chooser = [w for w in visible_windows(proc.pid) if w != window]
        if chooser:
            break
        time.sleep(0.1)
    if not chooser:
        sys.exit("measure-cpu: the file chooser did not open")
    time.sleep(0.5)
    subprocess.run(["xdotool", "windowfocus", "--sync", str(chooser[0])], stderr=subprocess.DEVNULL)
    xdotool("type", "--delay", "20", "cpu.csv")
    xdotool("key", "Return")
    time.sleep(1)
    xdotool("windowfocus", "--sync", str(window))
    click(window, 126, 146, 221, 178)  # Start

    # Turning at right angles in turn moves the snake into other lanes and
    # eats tiles; with at most six left it goes straight on, and once the
    # count holds for a while its lane is empty for good.
    keys = ["Down", "Left", "Up", "Right"]
    turns = 0
    last_turn = time.monotonic()
    stable_since, last_tiles = None, None
    deadline = time.monotonic() + 180
    while True:
        if time.monotonic() > deadline or proc.poll() is not None:
            sys.exit("measure-cpu: never reached a steady top speed")
        time.sleep(0.02)
        state = area_state(window)
        now = time.monotonic()
        if state is None or state[1] or state[0] == 0:
            stable_since = None
            continue
        tiles = state[0]
        if tiles > 6:
            if now - last_turn > 0.6:
                xdotool("key", keys[turns % 4])
                turns += 1
                last_turn = now
            continue
        if tiles != last_tiles or stable_since is None:
            stable_since, last_tiles = now, tiles
        elif now - stable_since > 1.0:
            break

    clk = os.sysconf("SC_CLK_TCK")
    t0, c0 = time.monotonic(), cpu_ticks(proc.pid)
    steady = True
    while time.monotonic() - t0 < 10:
        time.sleep(0.5)
        state = area_state(window)
        steady = steady and state is not None and state == (last_tiles, False)
    t1, c1 = time.monotonic(), cpu_ticks(proc.pid)
    if not steady:
        sys.exit("measure-cpu: the field changed while measuring")
    print(f"CPU at top speed ({20 - last_tiles} of 20 tiles eaten, {last_tiles} left out of "
          f"the snake's lane): {100.0 * (c1 - c0) / clk / (t1 - t0):.1f}% of one core "
          f"over {t1 - t0:.1f} s (utime+stime from /proc/{proc.pid}/stat)")
    click(window, 258, 245, 353, 277)  # Stop
finally:
    proc.terminate()
    proc.wait()
PYTHON
