// The road scenarios' shared steps, driving the real game through the harness.
#include "scenario/road_walk_support.h"

#include <gtest/gtest.h>

#include "game/random.h"
#include "game/tazzle.h"
#include "loading/title_images.h"
#include "road/road_screen.h"
#include "scenario/game_harness.h"

void StartRoad(GameHarness& game, std::uint32_t seed) {
    // Loading runs on threads that a busy machine may hold back for many updates.
    game.UpdateUntil(
        [] {
            return bb_tazzle_mainState == c_MainState::Title &&
                   bb_titlegraphics_titleImages->p_IsLoaded();
        },
        20000000);
    game.WaitForTitle();
    game.Tap(13);
    ASSERT_TRUE(game.UpdateUntil(
        [] { return bb_tazzle_mainState == c_MainState::Road && c_RoadScreen::p_AssetsReady(); },
        20000000))
        << "the road did not start";
    bb_random_Seed = seed;
}

void EmptyTheRoad() {
    bb_tazzle_roadScreen->m_cars.clear();
    bb_tazzle_roadScreen->m_maxCars = 0;
}

void Walk(GameHarness& game, int key, int updates) {
    game.KeyDown(key);
    game.Update(updates);
    game.KeyUp(key);
}

int BannerPixels(GameHarness& game) {
    return CountPixels(game, 128, 64, 384, 16, {255, 255, 255}) +
           CountPixels(game, 128, 64, 384, 16, {170, 0, 0});
}
