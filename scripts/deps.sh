#!/usr/bin/env bash
# Installs the Debian packages that a task needs, when they are missing.
# Usage: scripts/deps.sh run|test|package|windows|check [more packages ...]
set -euo pipefail

case "${1:-}" in
  run) packages=(build-essential cmake pkg-config qt6-base-dev fonts-ipafont-gothic xvfb xauth) ;;
  # llvm brings llvm-symbolizer, so sanitizer and fuzzer reports name functions and lines.
  test) packages=(build-essential cmake pkg-config qt6-base-dev fonts-ipafont-gothic
                  libgtest-dev libbenchmark-dev clang libclang-rt-14-dev llvm) ;;
  # CPack's DEB generator needs file; lintian checks the package.
  package) packages=(build-essential cmake pkg-config qt6-base-dev file lintian) ;;
  check) packages=(debootstrap git) ;;
  # Wine runs the Windows build on a virtual display, with the Japanese font
  # and its own fonts; Python drives it there through XTest (xwin.py) and
  # ImageMagick writes its pictures; NSIS makes the installer.
  windows) packages=(cmake make g++-mingw-w64-x86-64-posix wine wine64 googletest python3 libx11-6 libxtst6
                     xvfb xauth imagemagick fonts-ipafont-gothic fonts-wine nsis) ;;
  *) echo "usage: $0 run|test|package|windows|check [more packages ...]" >&2; exit 2 ;;
esac
shift
packages+=("$@")

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'ok installed' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
# Another apt may be running (an unattended upgrade): wait for it.
apt=(apt-get -o DPkg::Lock::Timeout=600)
$sudo "${apt[@]}" update -qq
DEBIAN_FRONTEND=noninteractive $sudo "${apt[@]}" install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
