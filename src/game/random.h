// The game's one pseudo-random sequence: a 32-bit linear congruential generator whose every draw
// advances one shared seed, so a given seed replays the same traffic.
#pragma once

#include <cstdint>

// 1234 when the program starts; the title screen sets it from the clock for each new game.
extern std::uint32_t bb_random_Seed;

// Puts the seed back to its value at program start (part of the program's initialisation).
void bb_random_Init();

// Advances the seed (seed * 1664525 + 1013904223, modulo 2^32) and returns its top 24 bits as a
// float in [0, 1).
float bb_random_Rnd();

// One draw scaled into [low, high): Rnd() * (high - low) + low, in float arithmetic.
float bb_random_Rnd2(float low, float high);

// One draw scaled into [0, range): Rnd() * range.
float bb_random_Rnd3(float range);
