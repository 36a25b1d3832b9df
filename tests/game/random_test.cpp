// The generator's sequence, its range and how many draws each helper consumes.
#include <gtest/gtest.h>

#include "game/random.h"

TEST(Random, FollowsTheLinearCongruentialSequenceFromTheStartSeed) {
    bb_random_Seed = 99;
    bb_random_Init();
    EXPECT_EQ(bb_random_Seed, 1234u);
    // seed' = seed * 1664525 + 1013904223 (mod 2^32); value = (seed' >> 8) / 2^24.
    const struct {
        std::uint32_t seed;
        std::uint32_t top24;
    } expected[] = {
        {3067928073u, 11984094u}, {889114580u, 3473103u},   {3219257635u, 12575225u},
        {1486326822u, 5805964u},  {3450746189u, 13479477u},
    };
    for (const auto& e : expected) {
        const float value = bb_random_Rnd();
        EXPECT_EQ(bb_random_Seed, e.seed);
        EXPECT_EQ(value, static_cast<float>(e.top24) / 16777216.0f);
    }
}

TEST(Random, StaysInsideTheHalfOpenUnitRange) {
    bb_random_Seed = 653637408u; // the next seed is 0xffffffff: the largest value
    const float largest = bb_random_Rnd();
    EXPECT_EQ(bb_random_Seed, 0xffffffffu);
    EXPECT_LT(largest, 1.0f);
    EXPECT_EQ(largest, 16777215.0f / 16777216.0f);

    bb_random_Seed = 634785765u; // the next seed is 0: the smallest value
    EXPECT_EQ(bb_random_Rnd(), 0.0f);
    EXPECT_EQ(bb_random_Seed, 0u);
}

TEST(Random, ScaledDrawsUseExactlyOneDrawEach) {
    bb_random_Seed = 1234;
    const float first = bb_random_Rnd();
    const float second = bb_random_Rnd();

    bb_random_Seed = 1234;
    EXPECT_EQ(bb_random_Rnd3(40.0f), first * 40.0f);
    EXPECT_EQ(bb_random_Rnd2(1.0f, 100.0f), second * 99.0f + 1.0f);
    EXPECT_EQ(bb_random_Seed, 889114580u); // two draws, no more
}
