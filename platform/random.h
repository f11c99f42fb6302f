#pragma once

#include <cstdint>

// The one random source of the game. A Mersenne Twister gives the same
// sequence for a seed on every compiler, so a test can fix a layout.

// Next value, uniform in [0, 2^31).
int32_t Rand();

void SeedRandom(uint32_t nSeed);
void SeedRandomFromTime();
