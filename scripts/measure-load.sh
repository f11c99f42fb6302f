#!/usr/bin/env bash
# Measures from outside, under Xvfb, what loading a large question file named
# on the command line costs the game: the longest time the window took to
# answer while the file loaded (the pointer goes onto and off the drawn Exit
# button every ~10 ms through XTest, timed until the button's colour changes
# in the window's pixels; a first answer later than the idle game's counts
# too), and the peak memory (VmHWM) above the idle game's. Three files are
# made in build/load-files: 100 MiB of 17.5 M short lines, 10 M empty lines,
# and 100 MiB in one line.
# Usage: scripts/measure-load.sh [runs, default 3] [game binary, default: built from this tree]
runs=${1:-3}
game=${2:-}
[ -z "$game" ] || game=$(realpath -e "$game") || exit 1
. "$(dirname "$0")/lib.sh"
scripts/deps.sh run python3 libxtst6
. scripts/xvfb.sh

game=${game:-$(built_game)}

files=$PWD/build/load-files
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
PYTHONPATH=scripts python3 - "$game" "$files" "$runs" <<'PYTHON'
import os
import statistics
import sys
import time

import xwin

game, files, runs = sys.argv[1], sys.argv[2], int(sys.argv[3])
HOVER = 0xCC0000  # a button under the pointer


def hwm_kib(pid):
    with open(f"/proc/{pid}/status") as f:
        return next(int(line.split()[1]) for line in f if line.startswith("VmHWM:"))


def measure(args):
    """(ms from the start to the window's first answer, the longest wait for
    a later answer in ms, VmHWM in KiB) for the game started with args, once
    its load is over: a message box shows, or the game has used less than a
    third of a core for half a second."""
    g = xwin.Game(game, args, settle=0)
    exit_rect = g.rect("EXIT")
    probe = xwin.inside(exit_rect, 4)
    on_exit, off_exit = xwin.centre(exit_rect), (exit_rect[0] - 20, xwin.centre(exit_rect)[1])
    first, longest, on = None, 0.0, True
    t0 = cpu_at = time.perf_counter()
    cpu = g.cpu_seconds()
    over = False
    while not over:
        xwin.move(g.window, *(on_exit if on else off_exit))
        sent = checked = time.perf_counter()
        while g.pixel(*probe) != (HOVER if on else xwin.DARK_GREY):
            now = time.perf_counter()
            if now - checked > 0.2:
                checked = now
                # A message box takes the window's input: the load is over.
                if len(xwin.windows(pid=g.proc.pid)) > 1:
                    over = True
                    break
            if now - sent > 60:
                g.close()
                sys.exit("measure-load: the window did not answer within 60 s")
        else:
            if first is None:
                first = (time.perf_counter() - g.started) * 1000
            else:
                longest = max(longest, (time.perf_counter() - sent) * 1000)
        on = not on
        time.sleep(0.01)
        now = time.perf_counter()
        if now - cpu_at >= 0.5:
            used = g.cpu_seconds()
            over = over or ((used - cpu) / (now - cpu_at) < 0.33 and now - t0 > 1)
            cpu, cpu_at = used, now
    hwm = hwm_kib(g.proc.pid)
    g.close()
    return (first if first is not None else (time.perf_counter() - g.started) * 1000), longest, hwm


idle, idle_firsts = [], []
for _ in range(runs):
    first, _, hwm = measure([])
    idle.append(hwm)
    idle_firsts.append(first)
idle_hwm, idle_first = statistics.median(idle), statistics.median(idle_firsts)
print(f"idle game ({runs} runs): first answer {idle_first:.0f} ms after the start; VmHWM {idle_hwm / 1024:.1f} MiB")
# The window stopped: a first answer later than the idle game's, or a wait
# for a later answer, whichever is longer.
for name in ("short-lines.csv", "empty-lines.csv", "one-line.csv"):
    path = os.path.join(files, name)
    stops, peaks = [], []
    for _ in range(runs):
        first, longest, hwm = measure([path])
        stops.append(max(first - idle_first, longest))
        peaks.append((hwm - idle_hwm) / 1024)
    print(f"{name} ({os.path.getsize(path) / (1 << 20):.0f} MiB): window stopped for median "
          f"{statistics.median(stops):.0f} ms (min {min(stops):.0f}, max {max(stops):.0f}); "
          f"VmHWM above idle median {statistics.median(peaks):.0f} MiB "
          f"(min {min(peaks):.0f}, max {max(peaks):.0f})")
PYTHON
