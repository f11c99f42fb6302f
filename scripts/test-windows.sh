#!/usr/bin/env bash
# Builds the Windows game for 64-bit Windows with MinGW-w64 and tests it
# under Wine on a virtual X display, in a Wine prefix of its own:
#  - the model tests and the window tests, through ctest;
#  - wrigglet.exe itself (scripts/windows_game.py): its start (time to first
#    paint), menu, play mode, Stop and Exit, with pictures of the menu and of
#    play mode kept in build/windows-menu.png and build/windows-play.png;
#  - the installer (scripts/package-windows.sh, which keeps packages that are
#    up to date): a silent install with the .csv association, a question file
#    opened through it, a silent uninstall, and nothing left behind.
# Installs what it needs with apt-get; works as root without a display.
# The build goes to $WRIGGLET_WINDOWS_BUILD (default build/windows).
. "$(dirname "$0")/lib.sh"
scripts/deps.sh windows

echo "== Windows build (MinGW-w64)"
build_windows

. scripts/xvfb.sh
. scripts/wine-prefix.sh
start_xvfb
trap 'wineserver -k 2>/dev/null || true; kill "$xvfb_pid" 2>/dev/null || true' EXIT
use_wine_prefix "$PWD/$windows_build/wineprefix"

echo "== model and window tests under Wine"
ctest --test-dir "$windows_build" --output-on-failure -j"$jobs" --timeout 300

echo "== wrigglet.exe"
(cd questions && python3 ../scripts/windows_game.py --shots ../build --quiz kanji_utf8.csv \
  "../$windows_build/win32/wrigglet.exe")

echo "== packages"
scripts/package-windows.sh
setup=$(ls build/package/wrigglet-*-setup.exe)

echo "== installer: silent install, the game through the association, silent uninstall"
drive=$WINEPREFIX/drive_c
installed=("$drive/Program Files/Wrigglet/"{wrigglet.exe,uninstall.exe,README.txt,questions/fruits_english.csv}
           "$drive/ProgramData/Microsoft/Windows/Start Menu/Programs/Wrigglet.lnk")
csv_class() { wine reg query 'HKLM\Software\Classes\.csv' /ve 2>/dev/null | tr -d '\r' | awk '/REG_SZ/ {print $NF}'; }
wine "$setup" /S /ASSOCIATE
wineserver -w
for f in "${installed[@]}"; do
  [ -f "$f" ] || { echo "test-windows: the installer did not make $f" >&2; exit 1; }
done
[ "$(csv_class)" = Wrigglet.QuestionFile ] || { echo "test-windows: .csv files do not open the game" >&2; exit 1; }
(cd "$drive/Program Files/Wrigglet/questions" &&
  python3 "$OLDPWD/scripts/windows_game.py" --open "$PWD/fruits_english.csv")
wine "$drive/Program Files/Wrigglet/uninstall.exe" /S
wineserver -w
for f in "${installed[@]}" "$drive/Program Files/Wrigglet"; do
  [ ! -e "$f" ] || { echo "test-windows: the uninstaller left $f" >&2; exit 1; }
done
[ -z "$(csv_class)" ] || { echo "test-windows: the .csv association outlived the game" >&2; exit 1; }
if wine reg query 'HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Wrigglet' >/dev/null 2>&1; then
  echo "test-windows: the uninstaller left its registry entry" >&2
  exit 1
fi
echo "== all Windows tests passed"
