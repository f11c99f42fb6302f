#!/usr/bin/env bash
# Builds the question-file fuzzer with clang, libFuzzer, AddressSanitizer and
# UBSan in build/fuzz and runs it for a bounded time (FUZZ_SECONDS, default
# 55) from the seed corpus in fuzz/corpus. Any finding fails the script; the
# input that caused it is left in build/fuzz/artifacts/.
. "$(dirname "$0")/lib.sh"
scripts/deps.sh test

seconds=${FUZZ_SECONDS:-55}
dir=build/fuzz
build "$dir" quiz_fuzzer -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ \
  -DWRIGGLET_FUZZ=ON -DWRIGGLET_SANITIZE=address -DWRIGGLET_GUI=OFF -DWRIGGLET_TESTS=OFF -DWRIGGLET_BENCH=OFF

# New inputs go to a working corpus in the build folder; the seeds stay as
# they are.
mkdir -p "$dir/corpus/quiz" "$dir/artifacts"
ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
  "$dir/fuzz/quiz_fuzzer" -max_total_time="$seconds" -max_len=4096 -timeout=10 \
  -rss_limit_mb=2048 -print_final_stats=1 -artifact_prefix="$dir/artifacts/" \
  "$dir/corpus/quiz" fuzz/corpus
