// The end of a game: reaching the hut without money, or an ambulance fee that cannot be paid,
// leads to the no-money screen, which records the hi-score and returns to the title.
#include <gtest/gtest.h>

#include <array>

#include "game/tazzle.h"
#include "road/road_screen.h"
#include "scenario/game_harness.h"
#include "scenario/road_walk_support.h"
#include "ski/no_money_screen.h"

namespace {

constexpr std::uint32_t kSeed = 424242;

int BlackPixels(GameHarness& game, int x, int y, int w, int h) {
    return CountPixels(game, x, y, w, h, {0, 0, 0});
}

// Walks an empty road from the start to the hut door and one step more; the road then fades
// out for 112 updates into the no-money screen.
void ReachTheHutBroke(GameHarness& game) {
    EmptyTheRoad();
    bb_tazzle_money = 0;
    Walk(game, kKeyLeft, 12);
    Walk(game, kKeyDown, 85);
    ASSERT_EQ(bb_tazzle_roadScreen->m_state, 1);
    game.Update(111);
    ASSERT_EQ(bb_tazzle_mainState, c_MainState::Road);
    game.Update();
    ASSERT_EQ(bb_tazzle_mainState, c_MainState::NoMoney);
}

} // namespace

TEST(NoMoneyScenario, ReachingTheHutWithoutMoneyEndsTheGameAndKeepsTheHiScore) {
    GameHarness game;
    StartRoad(game, kSeed);
    bb_tazzle_hiScore = 50;
    ReachTheHutBroke(game);
    EXPECT_FALSE(bb_tazzle_gotSkis);
    EXPECT_EQ(bb_tazzle_score, 60);
    game.Update();
    EXPECT_EQ(bb_tazzle_hiScore, 60);
    game.Render();
    EXPECT_EQ(BannerPixels(game), 384 * 16);         // "SORRY - NO MONEY NO SKI!"
    EXPECT_GT(BlackPixels(game, 64, 48, 96, 16), 0); // under the status line
    game.Update(298);
    EXPECT_EQ(bb_tazzle_mainState, c_MainState::NoMoney);
    game.Update(); // the 300th update
    EXPECT_EQ(bb_tazzle_mainState, c_MainState::Title);
    EXPECT_EQ(bb_tazzle_hiScore, 60);

    // The next game starts from nothing but the hi-score stays.
    game.Tap(13);
    game.UpdateUntil([] { return bb_tazzle_mainState == c_MainState::Road; }, 1000);
    EXPECT_EQ(bb_tazzle_score, 0);
    EXPECT_EQ(bb_tazzle_hiScore, 60);
}

TEST(NoMoneyScenario, AKeyLeavesAtOnceAndOnlyAKeyLeavesWhilePaused) {
    GameHarness game;
    StartRoad(game, kSeed);
    bb_tazzle_hiScore = 1000;
    ReachTheHutBroke(game);
    bb_tazzle_paused = true;
    game.Update(400);
    EXPECT_EQ(bb_tazzle_mainState, c_MainState::NoMoney);
    EXPECT_EQ(bb_tazzle_hiScore, 1000); // a lower score leaves it alone
    game.Tap(32);
    game.Update();
    EXPECT_EQ(bb_tazzle_mainState, c_MainState::Title);
}

TEST(NoMoneyScenario, AnUnpaidAmbulanceFeeEndsTheGameShowingNoCash) {
    GameHarness game;
    StartRoad(game, kSeed);
    game.KeyDown(kKeyDown);
    game.UpdateUntil(
        [] { return bb_tazzle_roadScreen->m_state == 2 || bb_tazzle_roadScreen->m_y == 288; }, 100);
    game.KeyUp(kKeyDown);
    game.KeyDown(kKeyLeft);
    ASSERT_TRUE(game.UpdateUntil([] { return bb_tazzle_roadScreen->m_state == 2; }, 20000));
    game.KeyUp(kKeyLeft);
    bb_tazzle_money = 0;
    game.Update(120 + 73);
    EXPECT_EQ(bb_tazzle_money, -10);
    EXPECT_EQ(bb_tazzle_roadScreen->m_state, 1);
    EXPECT_EQ(bb_tazzle_roadScreen->m_nextState, 5);
    ASSERT_TRUE(game.UpdateUntil([] { return bb_tazzle_mainState == c_MainState::NoMoney; }, 112));
    game.Update();
    game.Render();
    // "0" in the last cell of the cash field, nothing before it.
    EXPECT_GT(BlackPixels(game, 192, 48, 16, 16), 8);
    EXPECT_EQ(BlackPixels(game, 176, 48, 16, 16), 0);
}
