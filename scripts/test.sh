#!/usr/bin/env bash
# Builds everything and runs every test: the normal build, then the whole
# suite under AddressSanitizer+UBSan and under ThreadSanitizer, then the
# fuzzers for a bounded time. Works as root on a machine without a display.
set -euo pipefail
cd "$(dirname "$0")/.."
# The same results whatever the caller's locale (a bare system has none).
export LC_ALL=C.UTF-8
scripts/deps.sh test

jobs=$(nproc)
export QT_QPA_PLATFORM=offscreen

build() {
  local dir=$1; shift
  cmake -S . -B "$dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@" >/dev/null
  cmake --build "$dir" -j"$jobs"
}

echo "== normal build"
build build/release -DCMAKE_BUILD_TYPE=Release
ctest --test-dir build/release --output-on-failure -j"$jobs"

echo "== AddressSanitizer + UBSan"
build build/asan -DWRIGGLET_SANITIZE=address -DWRIGGLET_BENCH=OFF
ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
  ctest --test-dir build/asan --output-on-failure -j"$jobs"

echo "== ThreadSanitizer"
build build/tsan -DWRIGGLET_SANITIZE=thread -DWRIGGLET_BENCH=OFF
TSAN_OPTIONS="halt_on_error=1 second_deadlock_stack=1 suppressions=$PWD/tests/tsan.supp" \
  ctest --test-dir build/tsan --output-on-failure -j"$jobs"

if [ -x fuzz/run.sh ]; then
  echo "== fuzzing"
  fuzz/run.sh
fi
echo "== all tests passed"
