// The road as a player meets it, in the whole game: hiring skis, scoring a crossing, an accident
// with the ambulance fee, and the road's picture. Whole recorded sessions are compared with their
// expected traces by the replay tests.
#include <gtest/gtest.h>

#include <array>
#include <vector>

#include "game/tazzle.h"
#include "road/road_screen.h"
#include "scenario/game_harness.h"
#include "scenario/road_walk_support.h"

namespace {

constexpr std::uint32_t kSeed = 20261207;
constexpr std::array<int, 3> kWhite = {255, 255, 255};

c_RoadScreen& Road() {
    return *bb_tazzle_roadScreen;
}

// Down to the hut's door with no money left: the road starts to fade out to the no-money screen.
void ArriveAtTheHutBroke(GameHarness& game) {
    EmptyTheRoad();
    bb_tazzle_money = 0;
    Walk(game, kKeyLeft, 12);
    Walk(game, kKeyDown, 84);
    game.Update();
    ASSERT_EQ(Road().m_state, 1);
}

} // namespace

TEST(RoadScenario, WalkingToTheHutWithFortyDollarsHiresSkis) {
    GameHarness game;
    StartRoad(game, kSeed);
    EmptyTheRoad();
    Walk(game, kKeyLeft, 12);
    EXPECT_EQ(Road().m_x, 272);
    Walk(game, kKeyDown, 84);
    EXPECT_EQ(Road().m_y, 400);
    EXPECT_FALSE(bb_tazzle_gotSkis);
    Walk(game, kKeyDown, 1);
    EXPECT_TRUE(bb_tazzle_gotSkis);
    EXPECT_EQ(bb_tazzle_money, 30);
    EXPECT_EQ(bb_tazzle_score, 60); // the crossing on the way down
    EXPECT_EQ(Road().m_x, 368);
    EXPECT_EQ(Road().m_y, 400);

    // The ski hire banner, white and red all over, for 90 updates.
    game.Render();
    EXPECT_EQ(BannerPixels(game), 384 * 16);
    game.Update(88);
    game.Render();
    EXPECT_EQ(BannerPixels(game), 384 * 16);
    game.Update();
    game.Render();
    EXPECT_LT(BannerPixels(game), 384 * 16);
}

TEST(RoadScenario, AHitCostsTheAmbulanceFeeAndRestartsTheCrossing) {
    GameHarness game;
    StartRoad(game, kSeed);
    // Into the lower carriageway and against the left edge, where the traffic will find us.
    game.KeyDown(kKeyDown);
    game.UpdateUntil([] { return Road().m_state == 2 || Road().m_y == 288; }, 100);
    game.KeyUp(kKeyDown);
    game.KeyDown(kKeyLeft);
    ASSERT_TRUE(game.UpdateUntil([] { return Road().m_state == 2; }, 20000));
    game.KeyUp(kKeyLeft);
    EXPECT_TRUE(Road().m_hit);
    const int money = bb_tazzle_money;
    const int x = Road().m_x;
    const int y = Road().m_y;
    std::vector<int> carsX;
    for (const c_Car& car : Road().m_cars)
        carsX.push_back(car.m_x);

    game.Update(119);
    EXPECT_EQ(Road().m_state, 2);
    game.Update();
    EXPECT_EQ(Road().m_state, 3);
    game.Render();
    // The ambulance crosses the bottom of the play area, eight pixels an update from x 0.
    const int whiteBefore = CountPixels(game, 448, 400, 64, 32, kWhite);
    game.Update(56);
    EXPECT_EQ(Road().m_ambulanceX, 448);
    game.Render();
    EXPECT_GT(CountPixels(game, 448, 400, 64, 32, kWhite), whiteBefore + 200)
        << "the ambulance (mostly white) is not drawn where it drives";
    game.Update(16);
    EXPECT_EQ(bb_tazzle_money, money);
    EXPECT_EQ(Road().m_x, x); // nothing moved during the accident
    EXPECT_EQ(Road().m_y, y);
    std::vector<int> stillX;
    for (const c_Car& car : Road().m_cars)
        stillX.push_back(car.m_x);
    EXPECT_EQ(stillX, carsX);
    EXPECT_EQ(Road().m_ambulanceX, 576);

    game.Update(); // the 73rd ambulance update charges the fee
    EXPECT_EQ(bb_tazzle_money, money - 10);
    EXPECT_EQ(Road().m_state, 0);
    EXPECT_EQ(Road().m_x, 320);
    EXPECT_EQ(Road().m_y, 64);
    EXPECT_EQ(Road().m_direction, 1);
}

TEST(RoadScenario, TheStatusLineShowsCashScoreAndHiScore) {
    GameHarness game;
    StartRoad(game, kSeed);
    EmptyTheRoad();
    bb_tazzle_score = 12345;
    bb_tazzle_hiScore = 7;
    game.Render();
    // Every character cell of the status line holds black ink, spaces and gaps none.
    const struct {
        int x;
        const char* text;
    } fields[] = {
        {64, "CASH $"}, {176, "40"},    // the money ends at 208
        {240, "SCORE"}, {336, "12345"}, // the score ends at 416
        {448, "HI"},    {560, "7"},     // the hi-score ends at 576
    };
    for (const auto& field : fields) {
        for (int c = 0; field.text[c] != 0; ++c) {
            const int ink = CountPixels(game, field.x + 16 * c, 48, 16, 16, {0, 0, 0});
            if (field.text[c] == ' ') {
                EXPECT_EQ(ink, 0) << "space at x " << field.x + 16 * c;
            } else {
                EXPECT_GT(ink, 8) << field.text[c] << " at x " << field.x + 16 * c;
            }
        }
    }
    for (const int gapX : {160, 208, 224, 320, 416, 432, 480, 544}) {
        EXPECT_EQ(CountPixels(game, gapX, 48, 16, 16, {0, 0, 0}), 0) << "gap at x " << gapX;
    }
}

TEST(RoadScenario, EscapeAsTheFadeEndsReturnsToTheTitleAndTheNextFadeStartsAfresh) {
    GameHarness game;
    StartRoad(game, kSeed);
    ArriveAtTheHutBroke(game);
    game.Update(111); // the fade's last update is next
    game.Tap(27);
    game.Update();
    EXPECT_EQ(bb_tazzle_mainState, c_MainState::Title);

    // The next game's road fades out from its first band (blue in this order), 112 updates long.
    StartRoad(game, kSeed);
    ArriveAtTheHutBroke(game);
    ExpectAWholeFadeFrom(game, {0, 0, 170}, c_MainState::Road, c_MainState::NoMoney);
}

TEST(RoadScenario, TheFrameAfterTheAmbulanceFeeShowsTheWalkerUnhurt) {
    GameHarness game;
    StartRoad(game, kSeed);
    EmptyTheRoad();
    // The ambulance about to leave the screen: its next step charges the fee.
    Road().m_hit = true;
    Road().m_flashOn = true;
    Road().m_state = 3;
    Road().m_ambulanceX = 576;
    game.Update();
    ASSERT_EQ(Road().m_state, 0);
    game.Render();
    // The banner line and the walker at (320, 64), against the same moment with the hit over.
    std::vector<std::array<int, 3>> drawn = ReadPixels(game, 128, 64, 384, 48);
    Road().m_hit = false;
    game.Render();
    EXPECT_EQ(drawn, ReadPixels(game, 128, 64, 384, 48));
}
