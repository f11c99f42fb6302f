#pragma once

#include "field/play_field.h"

#include <cstdint>
#include <string>

// The verdicts' beginnings, in code page 932: 正解: and 不正解:.
inline const std::string kCorrect = "\x90\xb3\x89\xf0:";
inline const std::string kIncorrect = "\x95\x73\x90\xb3\x89\xf0:";

// Plays the game the way a careful player would: finds the shortest path on
// which the head eats the tiles of the next wanted bytes and nothing else,
// and says which way to turn for its first step. Reads the field only through
// the thread-safe copies, so it may run beside the game loop.
class CTestPlayer
{
public:
    // strWanted: the bytes the snake still has to collect, in order. Returns
    // the direction for the next step, or -1 when no path is found.
    static int32_t NextDirection(const CPlayField& field, const std::string& strWanted);

    // Same, but heads for the tile at nTileIndex whatever its text, so a test
    // can eat an answer out of order on purpose.
    static int32_t DirectionToTile(const CPlayField& field, int32_t nTileIndex);
};
