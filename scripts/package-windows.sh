#!/usr/bin/env bash
# Builds the Windows release artefacts into build/package/: a zip to unpack
# anywhere (the game, the sample questions, the README and the licence) and
# an installer made with NSIS. The game comes from the MinGW-w64 build that
# scripts/test-windows.sh tests ($WRIGGLET_WINDOWS_BUILD, default
# build/windows). Packages newer than everything in them are kept, so that a
# run after test-windows.sh (as in CI) makes nothing twice.
. "$(dirname "$0")/lib.sh"
scripts/deps.sh windows

out=build/package
build_windows wrigglet
version=$(sed -n 's/^#define WRIGGLET_VERSION_STRING "\(.*\)"$/\1/p' "$windows_build/version.h")
name=wrigglet-$version-windows-x64
zip=$out/$name.zip
setup=$out/wrigglet-$version-setup.exe

inputs=("$windows_build/win32/wrigglet.exe" "$windows_build/win32/wrigglet.ico" questions questions/*.csv README.md LICENSE
        win32/installer.nsi "$0")
up_to_date() {
  local f
  [ -f "$zip" ] && [ -f "$setup" ] || return 1
  for f in "${inputs[@]}"; do
    [ "$f" -ot "$zip" ] && [ "$f" -ot "$setup" ] || return 1
  done
}
if up_to_date; then
  echo "Up to date: $zip and $setup"
  exit 0
fi

# The files as they are installed; texts with Windows line ends.
stage=$out/$name
rm -rf "$stage"
mkdir -p "$stage/questions"
cp "$windows_build/win32/wrigglet.exe" "$stage/"
cp questions/*.csv "$stage/questions/"
sed 's/$/\r/' README.md >"$stage/README.txt"
[ -f LICENSE ] && sed 's/$/\r/' LICENSE >"$stage/LICENSE.txt"

echo "== zip"
rm -f "$zip"
(cd "$out" && cmake -E tar cf "$name.zip" --format=zip "$name")

echo "== installer"
makensis -V2 -DVERSION="$version" -DSTAGE="$PWD/$stage" -DICON="$(realpath "$windows_build/win32/wrigglet.ico")" \
  -DOUTFILE="$PWD/$setup" win32/installer.nsi
echo "Built $zip and $setup"
