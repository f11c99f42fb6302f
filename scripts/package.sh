#!/usr/bin/env bash
# Builds every release artefact: the Debian package, in Debian's layout and
# with its hardening flags, checked with lintian (an error fails the build),
# then the Windows ones through scripts/package-windows.sh where it exists.
# The .deb goes to build/package/.
set -euo pipefail
cd "$(dirname "$0")/.."
export LC_ALL=C.UTF-8
scripts/deps.sh package

build=build/package
echo "== Debian package"
export DEB_BUILD_MAINT_OPTIONS=hardening=+all
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Release -DWRIGGLET_TESTS=OFF -DWRIGGLET_BENCH=OFF \
  -DCMAKE_CXX_FLAGS="$(dpkg-buildflags --get CXXFLAGS) $(dpkg-buildflags --get CPPFLAGS)" \
  -DCMAKE_EXE_LINKER_FLAGS="$(dpkg-buildflags --get LDFLAGS)" \
  -DCMAKE_INSTALL_PREFIX=/usr -DCMAKE_INSTALL_BINDIR=games >/dev/null
cmake --build "$build" -j"$(nproc)" --target wrigglet
rm -f "$build"/wrigglet_*.deb
(cd "$build" && cpack -G DEB >/dev/null)
deb=$(ls "$build"/wrigglet_*.deb)
echo "== lintian $deb"
lintian --fail-on error --display-info "$deb"
echo "Built $deb"

if [ -x scripts/package-windows.sh ]; then
  scripts/package-windows.sh
fi
