#!/usr/bin/env bash
# Measures the game's processor use at top speed from outside, under Xvfb:
# plays a quiz of 20-letter answers by looking at the window and pressing
# arrow keys until at least 14 tiles are eaten and the snake runs in a lane
# with no tile left in it, then reads the process's CPU time over 10 s from
# /proc/PID/stat.
# Usage: scripts/measure-cpu.sh [game binary, default: built from this tree]
game=${1:-}
[ -z "$game" ] || game=$(realpath -e "$game") || exit 1
. "$(dirname "$0")/lib.sh"
scripts/deps.sh run python3 libxtst6
. scripts/xvfb.sh

game=${game:-$(built_game)}

start_xvfb
work=$(mktemp -d)
trap 'kill "$xvfb_pid" 2>/dev/null; rm -rf "$work"' EXIT
for n in 1 2 3 4 5; do echo "ABCDEFGHIJKLMNOPQRST,Q$n"; done >"$work/cpu.csv"
PYTHONPATH=scripts python3 - "$game" "$work" <<'PYTHON'
import sys
import time

import xwin

game = xwin.Game(sys.argv[1], cwd=sys.argv[2])
try:
    game.read("cpu.csv")
    game.focus()
    game.click("START")

    # Turning at right angles in turn moves the snake into other lanes and
    # eats tiles; with at most six left it goes straight on, and once the
    # count holds for a while its lane is empty for good.
    keys = ["Down", "Left", "Up", "Right"]
    turns = 0
    last_turn = time.monotonic()
    stable_since, last_tiles = None, None
    deadline = time.monotonic() + 180
    while True:
        if time.monotonic() > deadline or game.proc.poll() is not None:
            sys.exit("measure-cpu: never reached a steady top speed")
        time.sleep(0.02)
        state = game.area()
        now = time.monotonic()
        if state is None or state[1] or not state[0]:
            stable_since = None
            continue
        tiles = len(state[0])
        if tiles > 6:
            if now - last_turn > 0.6:
                game.key(keys[turns % 4])
                turns += 1
                last_turn = now
            continue
        if tiles != last_tiles or stable_since is None:
            stable_since, last_tiles = now, tiles
        elif now - stable_since > 1.0:
            break

    t0, c0 = time.monotonic(), game.cpu_seconds()
    steady = True
    while time.monotonic() - t0 < 10:
        time.sleep(0.5)
        state = game.area()
        steady = steady and state is not None and (len(state[0]), state[1]) == (last_tiles, False)
    t1, c1 = time.monotonic(), game.cpu_seconds()
    if not steady:
        sys.exit("measure-cpu: the field changed while measuring")
    print(f"CPU at top speed ({20 - last_tiles} of 20 tiles eaten, {last_tiles} left out of "
          f"the snake's lane): {100.0 * (c1 - c0) / (t1 - t0):.1f}% of one core "
          f"over {t1 - t0:.1f} s (utime+stime from /proc/{game.proc.pid}/stat)")
    game.click("STOP")
finally:
    game.close()
PYTHON
