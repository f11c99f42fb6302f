#!/usr/bin/env bash
# Builds the Windows release artefacts into build/package/: a zip to unpack
# anywhere (the game, the sample questions, the README and the licence) and
# an installer made with NSIS. Cross-built with MinGW-w64 in
# $WRIGGLET_WINDOWS_BUILD (default build/windows), as scripts/test-windows.sh
# builds it.
set -euo pipefail
cd "$(dirname "$0")/.."
export LC_ALL=C.UTF-8
scripts/deps.sh windows

build=${WRIGGLET_WINDOWS_BUILD:-build/windows}
out=build/package
cmake --no-warn-unused-cli -S . -B "$build" -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.toolchain.cmake \
  -DCMAKE_BUILD_TYPE=Release -DWRIGGLET_GUI=OFF -DWRIGGLET_BENCH=OFF >/dev/null
cmake --build "$build" -j"$(nproc)" --target wrigglet
version=$(sed -n 's/^#define WRIGGLET_VERSION_STRING "\(.*\)"$/\1/p' "$build/version.h")
name=wrigglet-$version-windows-x64

# The files as they are installed; texts with Windows line ends.
stage=$out/$name
rm -rf "$stage"
mkdir -p "$stage/questions"
cp "$build/win32/wrigglet.exe" "$stage/"
cp questions/*.csv "$stage/questions/"
sed 's/$/\r/' README.md >"$stage/README.txt"
[ -f LICENSE ] && sed 's/$/\r/' LICENSE >"$stage/LICENSE.txt"

echo "== zip"
rm -f "$out/$name.zip"
(cd "$out" && cmake -E tar cf "$name.zip" --format=zip "$name")

echo "== installer"
makensis -V2 -DVERSION="$version" -DSTAGE="$PWD/$stage" -DICON="$(realpath "$build/win32/wrigglet.ico")" \
  -DOUTFILE="$PWD/$out/wrigglet-$version-setup.exe" win32/installer.nsi
echo "Built $out/$name.zip and $out/wrigglet-$version-setup.exe"
