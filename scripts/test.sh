#!/usr/bin/env bash
# Builds everything and runs every test: the normal build, then the whole
# suite under AddressSanitizer+UBSan and under ThreadSanitizer, then the
# fuzzer for a bounded time (scripts/fuzz.sh). Works as root on a machine
# without a display.
. "$(dirname "$0")/lib.sh"
scripts/deps.sh test
export QT_QPA_PLATFORM=offscreen

echo "== normal build"
build build/release all -DCMAKE_BUILD_TYPE=Release
ctest --test-dir build/release --output-on-failure -j"$jobs" --timeout 120

echo "== AddressSanitizer + UBSan"
build build/asan all -DCMAKE_BUILD_TYPE=RelWithDebInfo -DWRIGGLET_SANITIZE=address -DWRIGGLET_BENCH=OFF
ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
  ctest --test-dir build/asan --output-on-failure -j"$jobs" --timeout 300

echo "== ThreadSanitizer"
build build/tsan all -DCMAKE_BUILD_TYPE=RelWithDebInfo -DWRIGGLET_SANITIZE=thread -DWRIGGLET_BENCH=OFF
TSAN_OPTIONS="halt_on_error=1 second_deadlock_stack=1 suppressions=$PWD/tests/tsan.supp" \
  ctest --test-dir build/tsan --output-on-failure -j"$jobs" --timeout 300

echo "== fuzzing"
scripts/fuzz.sh
echo "== all tests passed"
