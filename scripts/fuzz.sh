#!/usr/bin/env bash
# Builds the question-file fuzzer with clang, AddressSanitizer and UBSan in
# build/fuzz and runs it for a bounded time (FUZZ_SECONDS, default 55) from
# the seed corpus. Any finding fails the script; the input that caused it is
# left in build/fuzz/artifacts/.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh test

seconds=${FUZZ_SECONDS:-55}
build=build/fuzz

cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ \
  -DWRIGGLET_FUZZ=ON -DWRIGGLET_SANITIZE=address \
  -DWRIGGLET_GUI=OFF -DWRIGGLET_TESTS=OFF -DWRIGGLET_BENCH=OFF >/dev/null
cmake --build "$build" -j2 --target quiz_fuzzer

# New inputs go to a working corpus in the build folder; the seeds stay as
# they are.
mkdir -p "$build/corpus/quiz" "$build/artifacts"
ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
  "$build/fuzz/quiz_fuzzer" -max_total_time="$seconds" -max_len=4096 -timeout=10 \
  -rss_limit_mb=2048 -print_final_stats=1 -artifact_prefix="$build/artifacts/" \
  "$build/corpus/quiz" fuzz/corpus
