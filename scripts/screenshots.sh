#!/usr/bin/env bash
# Plays the first moments of a quiz under Xvfb and saves the window in menu
# mode and in play mode to docs/screenshots/menu.png and play.png; then
# plays the katakana sample to its end, sweeping the area without aiming,
# and saves the result it shows to result.png.
# Usage: scripts/screenshots.sh [question file in questions/]
. "$(dirname "$0")/lib.sh"
sample=${1:-kanji_utf8.csv}
scripts/deps.sh run python3 libxtst6 imagemagick
build_game build/shots

. scripts/xvfb.sh
start_xvfb
out=$PWD/docs/screenshots
mkdir -p "$out"

cd questions
PYTHONPATH=../scripts python3 - ../build/shots/app/wrigglet "$sample" "$out" <<'PYTHON'
import sys
import time

import xwin

binary, sample, out = sys.argv[1:]

game = xwin.Game(binary)
try:
    game.read(sample)
    game.move_away()
    time.sleep(0.5)
    xwin.shoot(game.window, f"{out}/menu.png")
    game.click("START")
    # The question shows for a second beside the scattered tiles.
    time.sleep(0.5)
    xwin.shoot(game.window, f"{out}/play.png")
    game.click("STOP")
finally:
    game.close()

game = xwin.Game(binary, ["animals_katakana.csv"])
try:
    game.focus()
    game.click("START")
    time.sleep(0.5)
    xwin.mow(game)
    game.move_away()
    time.sleep(0.5)
    xwin.shoot(game.window, f"{out}/result.png")
finally:
    game.close()
print(f"Saved {out}/menu.png, {out}/play.png and {out}/result.png")
PYTHON
