// The game played with a pad alone, one with a known mapping: its D-pad and A choose on the title
// menu, Back leaves the options and the road, its D-pad walks the walker and Start pauses.
#include <gtest/gtest.h>

#include "game/tazzle.h"
#include "host/zibbet_game.h"
#include "road/road_screen.h"
#include "scenario/game_harness.h"
#include "scenario/road_walk_support.h"
#include "screens/title_screen.h"

namespace {

// The host's only joystick: a pad with a known mapping, whose buttons the test presses.
class OnePad : public BBJoystickSource {
public:
    bool Present(int jid) override { return jid == 0; }
    const float* Axes(int, int*) override { return nullptr; }
    const unsigned char* Buttons(int, int*) override { return nullptr; }
    bool Gamepad(int, BBGamepadReading* reading) override {
        *reading = m_reading;
        return true;
    }
    void Hold(int button, bool held) {
        m_reading.buttons[button] = held ? kJoystickButtonPressed : 0;
    }

private:
    BBGamepadReading m_reading;
};

// Pressed for one update and released in the next, as a player taps a button.
void Tap(GameHarness& game, OnePad& pad, int button) {
    pad.Hold(button, true);
    game.Update();
    pad.Hold(button, false);
    game.Update();
}

int SelectedTitleLine() {
    return bb_tazzle_titleScreen->m_menu->m_selected;
}

} // namespace

TEST(Gamepad, TheDpadMovesTheTitleMenuAndAChoosesTheSelectedLineAndBackLeavesTheOptions) {
    OnePad pad;
    GameHarness game;
    game.Host().SetJoystickSource(&pad);
    game.WaitForTitle();
    EXPECT_EQ(SelectedTitleLine(), 0);
    Tap(game, pad, BBGamepadReading::kDpadDown);
    EXPECT_EQ(SelectedTitleLine(), 1);
    Tap(game, pad, BBGamepadReading::kA);
    EXPECT_EQ(bb_tazzle_mainState, c_MainState::Options);
    Tap(game, pad, BBGamepadReading::kBack);
    EXPECT_EQ(bb_tazzle_mainState, c_MainState::Title);
    Tap(game, pad, BBGamepadReading::kDpadDown);
    Tap(game, pad, BBGamepadReading::kDpadUp);
    EXPECT_EQ(SelectedTitleLine(), 0);
    Tap(game, pad, BBGamepadReading::kA);
    EXPECT_EQ(bb_tazzle_titleScreen->m_state, c_TitleScreen::kStateStarting);
}

TEST(Gamepad, TheDpadWalksTheRoadStartPausesAndBackLeavesForTheTitle) {
    OnePad pad;
    GameHarness game;
    game.Host().SetJoystickSource(&pad);
    game.WaitForTitle();
    Tap(game, pad, BBGamepadReading::kA);
    ASSERT_TRUE(game.UpdateUntil([] {
        return bb_tazzle_mainState == c_MainState::Road && c_RoadScreen::p_AssetsReady();
    })) << "the road did not start";
    EmptyTheRoad();
    c_RoadScreen& road = *bb_tazzle_roadScreen;
    const int startY = road.m_y;
    pad.Hold(BBGamepadReading::kDpadDown, true);
    game.Update(8);
    const int walkedY = road.m_y;
    EXPECT_GT(walkedY, startY);

    // Start pauses: the held D-pad walks no further until Start is pressed again.
    Tap(game, pad, BBGamepadReading::kStart);
    EXPECT_TRUE(bb_tazzle_paused);
    const int pausedY = road.m_y;
    game.Update(8);
    EXPECT_EQ(road.m_y, pausedY);
    Tap(game, pad, BBGamepadReading::kStart);
    EXPECT_FALSE(bb_tazzle_paused);
    game.Update(2);
    EXPECT_GT(road.m_y, pausedY);
    pad.Hold(BBGamepadReading::kDpadDown, false);

    Tap(game, pad, BBGamepadReading::kBack);
    EXPECT_EQ(bb_tazzle_mainState, c_MainState::Title);
}
