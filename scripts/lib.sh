# Sourced first by the scripts that build: moves to the repository's root,
# sets one locale whatever the caller's (a bare system has none; Wine names
# files and the tests compare texts in UTF-8), and keeps the CMake builds
# that several scripts share in one place.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
export LC_ALL=C.UTF-8
jobs=$(nproc)

# build DIR TARGET [cmake options ...]: configures DIR quietly and builds
# TARGET there ("all" for everything).
build() {
  local dir=$1 target=$2
  shift 2
  cmake --no-warn-unused-cli -S . -B "$dir" "$@" >/dev/null
  cmake --build "$dir" -j"$jobs" --target "$target"
}

# build_game DIR [cmake options ...]: the Qt game alone, optimised.
build_game() {
  local dir=$1
  shift
  build "$dir" wrigglet -DCMAKE_BUILD_TYPE=Release -DWRIGGLET_TESTS=OFF -DWRIGGLET_BENCH=OFF "$@"
}

# built_game: builds the Qt game in build/shots and prints its path.
built_game() {
  build_game build/shots >/dev/null
  echo "$PWD/build/shots/app/wrigglet"
}

# build_windows [TARGET]: the MinGW-w64 cross build, one folder for the
# tests and the packages, so that neither rebuilds what the other built.
windows_build=${WRIGGLET_WINDOWS_BUILD:-build/windows}
build_windows() {
  build "$windows_build" "${1:-all}" -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.toolchain.cmake \
    -DCMAKE_BUILD_TYPE=Release -DWRIGGLET_GUI=OFF -DWRIGGLET_BENCH=OFF
}
