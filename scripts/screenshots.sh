#!/usr/bin/env bash
# Plays the first moments of a quiz under Xvfb and a window manager and saves
# the window in menu mode with the file loaded and in play mode to
# docs/screenshots/menu.png and play.png, the window maximised in play to
# maximised.png; then plays the katakana sample to its end, sweeping the
# area without aiming, and saves the result it shows to result.png. The
# window tests' player, on a screen scaled by 3, keeps body.png: a kanji
# whole in the body moving right.
# Usage: scripts/screenshots.sh [question file in questions/]
. "$(dirname "$0")/lib.sh"
sample=${1:-kanji_utf8.csv}
scripts/deps.sh run python3 libxtst6 imagemagick openbox
scripts/deps.sh test
build_game build/shots

. scripts/xvfb.sh
start_xvfb -screen 0 1280x800x24
openbox >/dev/null 2>&1 &
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
    # A double click on the title bar maximises the window.
    for _ in range(2):
        xwin.click(game.window, 150, -8)
    time.sleep(1.5)
    game.key("Return")
    time.sleep(0.3)
    xwin.shoot(game.window, f"{out}/maximised.png")
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
print(f"Saved {out}/menu.png, play.png, maximised.png and result.png")
PYTHON

cd ..
build build/release gui_tests -DCMAKE_BUILD_TYPE=Release
QT_QPA_PLATFORM=offscreen QT_SCALE_FACTOR=3 WRIGGLET_SHOTS=$out \
  build/release/tests/gui_tests --gtest_filter='GameDlgTest.PlayerWins*' >/dev/null
echo "Saved $out/body.png"
