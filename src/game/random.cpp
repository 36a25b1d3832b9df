// The game's linear congruential generator. All arithmetic on the draws stays in float so that
// comparisons of scaled draws against whole numbers come out the same on every build.
#include "game/random.h"

namespace {
constexpr std::uint32_t kStartSeed = 1234;
}

std::uint32_t bb_random_Seed = kStartSeed;

void bb_random_Init() {
    bb_random_Seed = kStartSeed;
}

float bb_random_Rnd() {
    bb_random_Seed = bb_random_Seed * 1664525u + 1013904223u;
    const std::uint32_t top24 = (bb_random_Seed >> 8) & 0xffffffu;
    return static_cast<float>(top24) / 16777216.0f;
}

float bb_random_Rnd3(float range) {
    const float draw = bb_random_Rnd();
    return draw * range;
}

float bb_random_Rnd2(float low, float high) {
    const float scaled = bb_random_Rnd3(high - low);
    return scaled + low;
}
