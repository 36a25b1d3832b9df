// The slope in the whole game: crashes that spare or break the skis, and the end of a course
// run without the finish banner, seen on screen.
#include <gtest/gtest.h>

#include "audio/audio.h"
#include "game/tazzle.h"
#include "loading/async_event.h"
#include "loading/ski_sounds.h"
#include "persist/settings.h"
#include "road/road_screen.h"
#include "scenario/game_harness.h"
#include "scenario/road_walk_support.h"
#include "ski/ski_course.h"
#include "ski/ski_screen.h"
#include "support/pump.h"

namespace {

constexpr std::array<int, 3> kBadNews{170, 0, 0};
constexpr std::array<int, 3> kGoodNews{0, 0, 170};

// A new game that goes straight onto the slope with hired skis, the ski sounds loaded. What START
// GAME loads (the sprites and masks the slope shares with the road) arrives first, since the slope
// takes its skier's mask when it is entered. The slope waits for its sounds and polls for them
// every update; the loads are given the time they need on the loader threads (a busy machine may
// take longer than any fixed number of updates), after which one update delivers all four.
void StartSlope(GameHarness& game, int difficulty, int skiDamage) {
    game.WaitForTitle();
    c_RoadScreen::p_StartLoads();
    game.AwaitLoaders();
    bb_asyncevent_UpdateAsyncEvents();
    ASSERT_TRUE(c_RoadScreen::p_AssetsReady());
    bb_settings_gameSettings->m_difficulty = difficulty;
    bb_tazzle_NewGame();
    bb_tazzle_gotSkis = true;
    bb_tazzle_skiDamage = skiDamage;
    bb_tazzle_skiScreen->p_OnInit();
    bb_tazzle_mainState = c_MainState::Ski;
    bb_skisounds_skiSounds->p_StartLoad();
    ASSERT_TRUE(bb_thread_AwaitLoaders(std::chrono::seconds(30)));
    game.Update();
    ASSERT_TRUE(bb_skisounds_skiSounds->p_IsLoaded());
    ASSERT_NE(bb_skisounds_skiSounds->m_skiCrash, nullptr);
    ASSERT_EQ(bb_tazzle_mainState, c_MainState::Ski);
}

// Plants a tree where the skier stands; the next update is the crash.
void CrashIntoATree(GameHarness& game) {
    c_SkiScreen& ski = *bb_tazzle_skiScreen;
    ski.m_trees.push_back(c_Tree{.m_x = ski.m_x, .m_y = ski.m_y});
    game.Update();
    ASSERT_EQ(ski.m_state, c_SkiScreen::kStateCrashed);
}

int BannerInk(GameHarness& game, std::array<int, 3> colour) {
    return CountPixels(game, 128, 64, 384, 16, colour);
}

// A crash that breaks the skis, then the 120 updates of the tumble: the slope starts to fade out.
void BreakTheSkis(GameHarness& game) {
    bb_tazzle_skiDamage = 1;
    CrashIntoATree(game);
    game.Update(120);
    ASSERT_EQ(bb_tazzle_skiScreen->m_state, c_SkiScreen::kStateLeaving);
}

} // namespace

TEST(SkiScenario, OnHardTheFirstCrashIsLuckyAndTheSecondBreaksTheSkis) {
    GameHarness game;
    StartSlope(game, c_Difficulty::Hard, 2);
    c_SkiScreen& ski = *bb_tazzle_skiScreen;

    CrashIntoATree(game);
    game.Render();
    EXPECT_GT(BannerInk(game, kGoodNews), 0) << "\"* LUCKY! SKIS STILL OK *\" in blue";
    EXPECT_EQ(BannerInk(game, kBadNews), 0);
    game.Update(120);
    EXPECT_EQ(bb_tazzle_skiDamage, 1);
    EXPECT_EQ(ski.m_state, c_SkiScreen::kStateSkiing);
    EXPECT_EQ(ski.m_x, 288);
    EXPECT_EQ(ski.m_y, 64);
    EXPECT_TRUE(bb_tazzle_gotSkis);

    CrashIntoATree(game);
    game.Render();
    EXPECT_GT(BannerInk(game, kBadNews), 0) << "\"*BAD LUCK!  SKIS BROKEN*\" in red";
    EXPECT_EQ(BannerInk(game, kGoodNews), 0);
    game.Update(120);
    EXPECT_EQ(bb_tazzle_skiDamage, 0);
    EXPECT_FALSE(bb_tazzle_gotSkis);
    EXPECT_EQ(ski.m_state, c_SkiScreen::kStateLeaving);

    // The fade back to the road: the level rises although the course was not finished, and the
    // character starts again at the top of the road without skis.
    EXPECT_EQ(bb_tazzle_level, 1);
    ASSERT_TRUE(game.UpdateUntil([] { return bb_tazzle_mainState == c_MainState::Road; }, 200));
    EXPECT_EQ(bb_tazzle_level, 2);
    EXPECT_EQ(bb_tazzle_roadScreen->m_x, 320);
    EXPECT_EQ(bb_tazzle_roadScreen->m_y, 64);
}

TEST(SkiScenario, ACourseEndedWithoutTheBannerShowsTheMissedBonus) {
    GameHarness game;
    StartSlope(game, c_Difficulty::Normal, 3);
    c_SkiScreen& ski = *bb_tazzle_skiScreen;
    // Skip to the end of the course: the end record is due on the next row.
    ski.m_nextRow = ski.m_row + 1;
    ski.m_nextType = ski_course::kEnd;
    ASSERT_TRUE(game.UpdateUntil([&] { return ski.m_state == c_SkiScreen::kStateRunOut; }, 20));
    EXPECT_FALSE(ski.m_finishBonus);
    game.Render();
    EXPECT_GT(BannerInk(game, kBadNews), 0) << "\"****  MISSED BONUS  ****\" in red";

    // The banner stays up through the run-out and the fade; then the road, one level up, with
    // the skis kept.
    game.Update(120);
    EXPECT_EQ(ski.m_state, c_SkiScreen::kStateLeaving);
    game.Render();
    EXPECT_GT(BannerInk(game, kBadNews), 0);
    ASSERT_TRUE(game.UpdateUntil([] { return bb_tazzle_mainState == c_MainState::Road; }, 200));
    EXPECT_EQ(bb_tazzle_level, 2);
    EXPECT_TRUE(bb_tazzle_gotSkis);
}

TEST(SkiScenario, EscapeLeavesNoSlopeSoundPlaying) {
    GameHarness game;
    StartSlope(game, c_Difficulty::Normal, 3);
    game.Update(10);
    ASSERT_EQ(bb_audio_ChannelState(0), 1) << "the slope's background loop";
    game.Tap(27);
    game.Update();
    EXPECT_EQ(bb_tazzle_mainState, c_MainState::Title);
    game.Update(10);
    for (int channel = 0; channel <= 3; ++channel)
        EXPECT_EQ(bb_audio_ChannelState(channel), 0) << "channel " << channel;
}

TEST(SkiScenario, EscapeAsTheFadeEndsReturnsToTheTitleAndTheNextFadeStartsAfresh) {
    GameHarness game;
    StartSlope(game, c_Difficulty::Normal, 3);
    BreakTheSkis(game);
    game.Update(111); // the fade's last update is next
    game.Tap(27);
    game.Update();
    EXPECT_EQ(bb_tazzle_mainState, c_MainState::Title);
    EXPECT_EQ(bb_tazzle_level, 1);

    // The next slope fades out from its first band (grey in this order), the whole 112 updates.
    StartSlope(game, c_Difficulty::Normal, 3);
    BreakTheSkis(game);
    ExpectAWholeFadeFrom(game, {170, 170, 170}, c_MainState::Ski, c_MainState::Road);
}

TEST(SkiScenario, TheFrameAfterALuckyCrashShowsTheSkierReadyAtTheTop) {
    GameHarness game;
    StartSlope(game, c_Difficulty::Hard, 2);
    c_SkiScreen& ski = *bb_tazzle_skiScreen;
    CrashIntoATree(game);
    game.Update(120);
    ASSERT_EQ(ski.m_state, c_SkiScreen::kStateSkiing);
    game.Render();
    // The banner line and the skier at (288, 64), against the same moment with the crash over.
    std::vector<std::array<int, 3>> drawn = ReadPixels(game, 128, 64, 384, 48);
    ski.m_crashed = false;
    game.Render();
    EXPECT_EQ(drawn, ReadPixels(game, 128, 64, 384, 48));
}
