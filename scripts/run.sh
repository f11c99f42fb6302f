#!/usr/bin/env bash
# Builds the game and starts it in the sample question folder.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh run
cmake -S . -B build/game -DCMAKE_BUILD_TYPE=Release -DWRIGGLET_TESTS=OFF -DWRIGGLET_BENCH=OFF >/dev/null
cmake --build build/game -j"$(nproc)" --target wrigglet
cd questions
exec ../build/game/app/wrigglet "$@"
