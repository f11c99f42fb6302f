#!/usr/bin/env bash
# Builds every release artefact: the Debian package, in Debian's layout and
# with its hardening flags, checked with lintian (an error fails the build),
# then the Windows ones through scripts/package-windows.sh. Everything goes
# to build/package/.
. "$(dirname "$0")/lib.sh"
scripts/deps.sh package

dir=build/package
echo "== Debian package"
export DEB_BUILD_MAINT_OPTIONS=hardening=+all
build_game "$dir" -DCMAKE_CXX_FLAGS="$(dpkg-buildflags --get CXXFLAGS) $(dpkg-buildflags --get CPPFLAGS)" \
  -DCMAKE_EXE_LINKER_FLAGS="$(dpkg-buildflags --get LDFLAGS)" \
  -DCMAKE_INSTALL_PREFIX=/usr -DCMAKE_INSTALL_BINDIR=games
rm -f "$dir"/wrigglet_*.deb
(cd "$dir" && cpack -G DEB >/dev/null)
deb=$(ls "$dir"/wrigglet_*.deb)
echo "== lintian $deb"
lintian --fail-on error --display-info "$deb"
echo "Built $deb"

scripts/package-windows.sh
