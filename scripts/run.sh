#!/usr/bin/env bash
# Builds the game and starts it in the sample question folder, in the
# caller's locale (lib.sh sets its own for the build).
caller_lc_all=${LC_ALL-}
. "$(dirname "$0")/lib.sh"
scripts/deps.sh run
build_game build/game
cd questions
LC_ALL=$caller_lc_all exec ../build/game/app/wrigglet "$@"
