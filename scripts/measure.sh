#!/usr/bin/env bash
# Measures the game from outside under Xvfb: the time from starting the
# process to its window's first paint (median of N starts), its resident
# memory in menu mode and while a quiz is played, and how fast Stop ends the
# worker thread and Exit the process while a question pause runs.
# Usage: scripts/measure.sh [starts, default 10]
. "$(dirname "$0")/lib.sh"
starts=${1:-10}
scripts/deps.sh run python3 libxtst6
build_game build/shots >/dev/null

. scripts/xvfb.sh
# A white root: an unpainted window shows white, never the game's colours.
start_xvfb -wr

cd questions
PYTHONPATH=../scripts python3 - ../build/shots/app/wrigglet "$starts" <<'PYTHON'
import os
import statistics
import sys
import time

import xwin

binary, starts = sys.argv[1], int(sys.argv[2])


def start_game():
    """Starts the game; returns it and the times (s) from its start to the
    window being viewable and to its first paint."""
    game = xwin.Game(binary, settle=0)
    while not game.painted():
        if time.perf_counter() - game.started > 20:
            game.close()
            sys.exit("measure: the window was not painted within 20 s")
        time.sleep(0.002)
    return game, game.shown - game.started, time.perf_counter() - game.started


def memory(pid):
    """VmRSS and VmHWM in KiB."""
    fields = {}
    with open(f"/proc/{pid}/status") as f:
        for line in f:
            key, _, value = line.partition(":")
            if key in ("VmRSS", "VmHWM"):
                fields[key] = int(value.split()[0])
    return fields["VmRSS"], fields["VmHWM"]


def threads(pid):
    return set(os.listdir(f"/proc/{pid}/task"))


def summary(values):
    return (f"median {statistics.median(values):.0f} ms (min {min(values):.0f}, max {max(values):.0f}, "
            f"{len(values)} runs)")


maps, paints = [], []
for run in range(starts):
    game, t_map, t_paint = start_game()
    maps.append(t_map * 1000)
    paints.append(t_paint * 1000)
    game.close()
    time.sleep(0.3)

print(f"start to first paint, {starts} starts: median {statistics.median(paints):.0f} ms "
      f"(min {min(paints):.0f}, max {max(paints):.0f}); "
      f"to a viewable window: median {statistics.median(maps):.0f} ms")

game, _, _ = start_game()
time.sleep(1)
rss_menu, _ = memory(game.proc.pid)
game.read("fruits_english.csv")
game.click("START")
samples = []
for _ in range(40):  # 10 s of the first questions
    time.sleep(0.25)
    samples.append(memory(game.proc.pid)[0])
_, hwm = memory(game.proc.pid)
if not game.playing():
    sys.exit("measure: the quiz did not start")
game.click("STOP")
game.close()
print(f"resident memory: menu {rss_menu / 1024:.1f} MiB; playing "
      f"{statistics.median(samples) / 1024:.1f} MiB median, {max(samples) / 1024:.1f} MiB max "
      f"(VmRSS every 0.25 s for 10 s); peak VmHWM {hwm / 1024:.1f} MiB")

# Half a second after Start the first question's one-second pause is on.
# Stop: until the worker thread has gone from the process; Exit (after that
# Stop) and Escape (in play mode): until the process has ended.
stops, exits, escapes = [], [], []
for run in range(5):
    for escape in (False, True):
        game, _, _ = start_game()
        game.read("fruits_english.csv")
        before = threads(game.proc.pid)
        game.click("START")
        time.sleep(0.5)
        worker = threads(game.proc.pid) - before
        if not worker:
            sys.exit("measure: no worker thread after Start")
        if escape:
            game.focus()
            time.sleep(0.1)
            t0 = game.key("Escape")
        else:
            t0 = game.click("STOP")
            while worker & threads(game.proc.pid):
                time.sleep(0.0005)
            stops.append((time.perf_counter() - t0) * 1000)
            t0 = game.click("EXIT")
        game.proc.wait()
        (escapes if escape else exits).append((time.perf_counter() - t0) * 1000)
print(f"Stop in a question pause to the worker's end: {summary(stops)}")
print(f"Exit after Stop to the process's end: {summary(exits)}")
print(f"Escape in a question pause to the process's end: {summary(escapes)}")
PYTHON
