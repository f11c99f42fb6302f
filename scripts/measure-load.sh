#!/usr/bin/env bash
# Measures from outside, under Xvfb, what loading a large question file named
# on the command line costs the game: the longest time the window took to
# answer while the file loaded (the pointer is moved onto and off the drawn
# Exit button every ~10 ms, through XTest, and timed until the button's
# colour changes in the window's pixels), and the peak memory (VmHWM) above
# that of the idle game. Three files are made in build/load-files: 100 MiB of
# 17.5 M short lines, 10 M empty lines, and 100 MiB in one line.
# Usage: scripts/measure-load.sh [runs, default 3] [game binary, default: build it]
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
runs=${1:-3}
game=${2:-}
build=$root/build/shots
files=$root/build/load-files

scripts/deps.sh run xdotool python3
. scripts/xvfb.sh

if [ -z "$game" ]; then
  cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Release -DWRIGGLET_TESTS=OFF -DWRIGGLET_BENCH=OFF >/dev/null
  cmake --build "$build" -j"$(nproc)" --target wrigglet >/dev/null
  game=$build/app/wrigglet
fi

mkdir -p "$files"
python3 - "$files" <<'PYTHON'
import os
import sys

MIB = 1 << 20
wanted = {
    "short-lines.csv": lambda f: f.write(b"AB,CD\n" * (100 * MIB // 6)),
    "empty-lines.csv": lambda f: f.write(b"\n" * 10_000_000),
    "one-line.csv": lambda f: f.write(b"A" * (100 * MIB)),
}
for name, write in wanted.items():
    path = os.path.join(sys.argv[1], name)
    if not os.path.exists(path):
        with open(path + ".part", "wb") as f:
            write(f)
        os.rename(path + ".part", path)
PYTHON

start_xvfb
python3 - "$game" "$files" "$runs" <<'PYTHON'
import ctypes
import ctypes.util
import os
import statistics
import subprocess
import sys
import time

sys.path.insert(0, os.path.join(os.getcwd(), "scripts"))
import xplay  # noqa: E402

game, files, runs = sys.argv[1], sys.argv[2], int(sys.argv[3])
EXIT = (126, 185, 221, 217)
PROBE = (EXIT[0] + 4, EXIT[1] + 4, EXIT[0] + 5, EXIT[1] + 5)  # inside the outline, off the label
HOVER, PLAIN = 0xCC0000, 0x262626

x11 = ctypes.CDLL(ctypes.util.find_library("X11") or "libX11.so.6")
x11.XDefaultRootWindow.restype = ctypes.c_ulong
x11.XDefaultRootWindow.argtypes = [ctypes.c_void_p]
x11.XTranslateCoordinates.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_ulong, ctypes.c_int,
                                      ctypes.c_int] + [ctypes.c_void_p] * 3
x11.XFlush.argtypes = [ctypes.c_void_p]
xtst = ctypes.CDLL(ctypes.util.find_library("Xtst") or "libXtst.so.6")
xtst.XTestFakeMotionEvent.argtypes = [ctypes.c_void_p, ctypes.c_int, ctypes.c_int, ctypes.c_int, ctypes.c_ulong]


def start(args):
    """The game started with args, as soon as its window is viewable (xplay's
    Game waits a second more, which would hide the start of a load)."""
    g = xplay.Game.__new__(xplay.Game)
    g.dpy = xplay._x11.XOpenDisplay(None)
    g.proc = subprocess.Popen([game, *args], stderr=subprocess.DEVNULL)
    g.window = None
    deadline = time.monotonic() + 20
    while g.window is None:
        if time.monotonic() > deadline:
            g.close()
            sys.exit("measure-load: the window did not appear")
        found = g.visible_windows()
        g.window = found[0] if found else None
        if g.window is not None and g.pixels((0, 0, 1, 1)) is None:
            g.window = None
    return g


def hwm_kib(pid):
    with open(f"/proc/{pid}/status") as f:
        return next(int(line.split()[1]) for line in f if line.startswith("VmHWM:"))


def cpu_seconds(pid):
    with open(f"/proc/{pid}/stat") as f:
        fields = f.read().rsplit(")", 1)[1].split()
    return (int(fields[11]) + int(fields[12])) / os.sysconf("SC_CLK_TCK")


def colour(g):
    rows = g.pixels(PROBE)
    return rows[0][0] if rows else None


def measure(args):
    """(ms from the start to the window's first answer, the longest wait for
    a later answer in ms, VmHWM in KiB, seconds probed) for the game started
    with args, once its load is over."""
    spawned = time.perf_counter()
    g = start(args)
    root = x11.XDefaultRootWindow(g.dpy)
    x, y, child = ctypes.c_int(), ctypes.c_int(), ctypes.c_ulong()
    x11.XTranslateCoordinates(g.dpy, g.window, root, 0, 0, ctypes.byref(x), ctypes.byref(y), ctypes.byref(child))
    t0 = time.perf_counter()
    first, longest, on = None, 0.0, True
    cpu, cpu_at = cpu_seconds(g.proc.pid), t0
    over = False
    while not over:
        # Onto Exit or off it; then wait for the window to draw the change.
        px = x.value + (EXIT[0] + EXIT[2]) // 2 if on else x.value + 5
        xtst.XTestFakeMotionEvent(g.dpy, -1, px, y.value + (EXIT[1] + EXIT[3]) // 2, 0)
        x11.XFlush(g.dpy)
        sent = time.perf_counter()
        checked = sent
        while colour(g) != (HOVER if on else PLAIN):
            now = time.perf_counter()
            if now - checked > 0.2:
                checked = now
                # A message box blocks the window's input: the load is over.
                if len(g.visible_windows()) > 1:
                    over = True
                    break
            if now - sent > 60:
                g.close()
                sys.exit("measure-load: the window did not answer within 60 s")
        else:
            if first is None:
                first = (time.perf_counter() - spawned) * 1000
            else:
                longest = max(longest, (time.perf_counter() - sent) * 1000)
        on = not on
        time.sleep(0.01)
        # The load is over once the game uses less than a third of a core.
        now = time.perf_counter()
        if now - cpu_at >= 0.5:
            used = cpu_seconds(g.proc.pid)
            over = over or ((used - cpu) / (now - cpu_at) < 0.33 and now - t0 > 1)
            cpu, cpu_at = used, now
    hwm = hwm_kib(g.proc.pid)
    g.close()
    return first if first is not None else (time.perf_counter() - spawned) * 1000, longest, hwm, now - t0


idle, idle_firsts = [], []
for _ in range(runs):
    first, _, hwm, _ = measure([])
    idle.append(hwm)
    idle_firsts.append(first)
idle_hwm, idle_first = statistics.median(idle), statistics.median(idle_firsts)
print(f"idle game ({runs} runs): first answer {idle_first:.0f} ms after the start; VmHWM {idle_hwm / 1024:.1f} MiB")
# The window stopped: a first answer later than the idle game's, or a wait
# for a later answer, whichever is longer.
for name in ("short-lines.csv", "empty-lines.csv", "one-line.csv"):
    path = os.path.join(files, name)
    stops, peaks, spans = [], [], []
    for _ in range(runs):
        first, longest, hwm, span = measure([path])
        stops.append(max(first - idle_first, longest))
        peaks.append((hwm - idle_hwm) / 1024)
        spans.append(span)
    print(f"{name} ({os.path.getsize(path) / (1 << 20):.0f} MiB): window stopped for median "
          f"{statistics.median(stops):.0f} ms (min {min(stops):.0f}, max {max(stops):.0f}); "
          f"VmHWM above idle median {statistics.median(peaks):.0f} MiB "
          f"(min {min(peaks):.0f}, max {max(peaks):.0f}); probed for {statistics.median(spans):.1f} s")
PYTHON
