#!/usr/bin/env bash
# Builds the game rules (field/, quiz/, run/, platform/) and their model tests
# for 64-bit Windows with MinGW-w64 and runs them under Wine through ctest.
# Installs what it needs with apt-get; works as root without a display.
# The build goes to $WRIGGLET_WINDOWS_BUILD (default build/windows).
set -euo pipefail
cd "$(dirname "$0")/.."
# Wine names files and the tests compare texts in UTF-8, whatever the caller's
# locale (a bare system has none).
export LC_ALL=C.UTF-8

scripts/deps.sh windows

build=${WRIGGLET_WINDOWS_BUILD:-build/windows}
jobs=$(nproc)

echo "== Windows build (MinGW-w64)"
cmake -S . -B "$build" -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.toolchain.cmake \
  -DCMAKE_BUILD_TYPE=Release -DWRIGGLET_GUI=OFF -DWRIGGLET_BENCH=OFF >/dev/null
cmake --build "$build" -j"$jobs"

# Wine: its own prefix in the build folder, no display, no Mono or Gecko
# installs, no debug chatter.
export WINEPREFIX="$PWD/$build/wineprefix"
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
export WINEARCH=win64
unset DISPLAY WAYLAND_DISPLAY
trap 'wineserver -k 2>/dev/null || true' EXIT
[ -f "$WINEPREFIX/system.reg" ] || wineboot -i >/dev/null 2>&1

echo "== model tests under Wine"
ctest --test-dir "$build" --output-on-failure -j"$jobs" --timeout 300
