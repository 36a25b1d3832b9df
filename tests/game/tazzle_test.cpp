// The progress globals: start values, what a new game resets, and the cash bonus the road and
// the slope pay from the score.

#include "game/tazzle.h"

#include <gtest/gtest.h>

namespace {

TEST(Progress, ANewGameResetsTheRunButKeepsTheHiScore) {
    bb_tazzle_Init();
    EXPECT_EQ(bb_tazzle_version, u"V2.1");
    EXPECT_EQ(bb_tazzle_mainState, 0);
    EXPECT_EQ(bb_tazzle_level, 0);

    bb_tazzle_score = 2500;
    bb_tazzle_hiScore = 4000;
    bb_tazzle_money = -10;
    bb_tazzle_level = 6;
    bb_tazzle_gotSkis = true;
    bb_tazzle_skiDamage = 2;
    bb_tazzle_lastScoreUpdate = 2000;
    bb_tazzle_paused = true;
    bb_tazzle_NewGame();
    EXPECT_EQ(bb_tazzle_level, 1);
    EXPECT_EQ(bb_tazzle_money, 40);
    EXPECT_EQ(bb_tazzle_score, 0);
    EXPECT_FALSE(bb_tazzle_gotSkis);
    EXPECT_FALSE(bb_tazzle_paused);
    // The first 10-dollar bonus of every game comes at 1000 points.
    EXPECT_EQ(bb_tazzle_lastScoreUpdate, 0);
    EXPECT_EQ(bb_tazzle_hiScore, 4000);
    EXPECT_EQ(bb_tazzle_skiDamage, 2); // set again when skis are hired
}

TEST(Progress, EveryThousandPointsPayTenDollarsOneBonusAtATime) {
    bb_tazzle_NewGame();
    bb_tazzle_score = 999;
    bb_tazzle_PayScoreBonus();
    EXPECT_EQ(bb_tazzle_money, 40);
    bb_tazzle_score = 1000;
    bb_tazzle_PayScoreBonus();
    bb_tazzle_PayScoreBonus();
    EXPECT_EQ(bb_tazzle_money, 50);
    EXPECT_EQ(bb_tazzle_lastScoreUpdate, 1000);
    // A score that leaps two marks at once is paid for one at each call (an update each).
    bb_tazzle_score = 3500;
    bb_tazzle_PayScoreBonus();
    EXPECT_EQ(bb_tazzle_money, 60);
    bb_tazzle_PayScoreBonus();
    bb_tazzle_PayScoreBonus();
    EXPECT_EQ(bb_tazzle_money, 70);
    EXPECT_EQ(bb_tazzle_lastScoreUpdate, 3000);
}

} // namespace
