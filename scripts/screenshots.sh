#!/usr/bin/env bash
# Plays the first moments of a quiz under Xvfb and saves the window in menu
# mode and in play mode to docs/screenshots/menu.png and play.png; then
# plays the katakana sample to its end, sweeping the area without aiming,
# and saves the result it shows to result.png.
# Usage: scripts/screenshots.sh [question file in questions/]
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
sample=${1:-kanji_utf8.csv}
out=$root/docs/screenshots
build=$root/build/shots

scripts/deps.sh run xdotool imagemagick
. scripts/xvfb.sh

cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Release -DWRIGGLET_TESTS=OFF -DWRIGGLET_BENCH=OFF >/dev/null
cmake --build "$build" -j"$(nproc)" --target wrigglet

start_xvfb

(cd questions && exec "$build/app/wrigglet") &
game_pid=$!
win=$(timeout 20 xdotool search --sync --onlyvisible --name '^Wrigglet$' | head -1)
[ -n "$win" ] || { echo "screenshots: the window did not appear" >&2; exit 1; }

# Clicks the centre of a drawn button, given in client pixels.
click() {
  local l=$1 t=$2 r=$3 b=$4
  xdotool mousemove --window "$win" $(((l + r) / 2)) $(((t + b) / 2)) click 1
}
# Saves the window alone, without time stamps, so a rerun changes nothing.
shoot() {
  import -window "$win" miff:- | convert - -strip "png:$out/$1"
}

sleep 1
click 126 107 221 139 # Read

# The file chooser is the game's other visible window.
chooser=""
for _ in $(seq 100); do
  chooser=$(xdotool search --onlyvisible --pid "$game_pid" 2>/dev/null | grep -vx "$win" | head -1 || true)
  [ -n "$chooser" ] && break
  sleep 0.1
done
[ -n "$chooser" ] || { echo "screenshots: the file chooser did not open" >&2; exit 1; }
sleep 0.5
xdotool windowfocus --sync "$chooser" 2>/dev/null || true
xdotool type --delay 20 "$sample"
xdotool key Return
for _ in $(seq 100); do
  xdotool search --onlyvisible --pid "$game_pid" 2>/dev/null | grep -qvx "$win" || break
  sleep 0.1
done

# Away from the buttons, so none is drawn hovered.
xdotool mousemove --window "$win" 5 295
sleep 0.5
mkdir -p "$out"
shoot menu.png

click 126 146 221 178 # Start
# The question shows for a second beside the scattered tiles.
sleep 0.5
shoot play.png

click 258 245 353 277 # Stop
kill "$game_pid"
wait "$game_pid" 2>/dev/null || true
game_pid=""

(cd questions && PYTHONPATH=$root/scripts python3 - "$build/app/wrigglet" "$out/result.png" <<'PYTHON'
import subprocess
import sys
import time

import xplay

game = xplay.Game(sys.argv[1], ["animals_katakana.csv"])
try:
    game.focus()
    game.click(xplay.START)
    time.sleep(0.5)
    xplay.mow(game)
    # Away from the buttons, so none is drawn hovered.
    xplay.xdotool("mousemove", "--window", str(game.window), "5", "295")
    time.sleep(0.5)
    subprocess.run(f"import -window {game.window} miff:- | convert - -strip png:{sys.argv[2]}",
                   shell=True, check=True)
finally:
    game.close()
PYTHON
)
echo "Saved $out/menu.png, $out/play.png and $out/result.png"
