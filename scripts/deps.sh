#!/usr/bin/env bash
# Installs the Debian packages that building, running or testing needs, when
# they are missing. Usage: scripts/deps.sh run|test
set -euo pipefail

packages=(build-essential cmake pkg-config qt6-base-dev fonts-ipafont-gothic)
case "${1:-test}" in
  run) packages+=(xvfb xauth) ;;
  test) packages+=(libgtest-dev libbenchmark-dev clang libclang-rt-14-dev) ;;
  *) echo "usage: $0 run|test" >&2; exit 2 ;;
esac

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'ok installed' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
