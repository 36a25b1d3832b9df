// The front end as a player meets it, driven in-process: loading, the title, the options and
// key redefinition screens, the global keys and the fade into a new game.

#include <gtest/gtest.h>

#include "audio/audio.h"
#include "game/tazzle.h"
#include "graphics/graphics.h"
#include "host/app.h"
#include "host/zibbet_game.h"
#include "persist/settings.h"
#include "scenario/game_harness.h"
#include "screens/options_screen.h"
#include "screens/redefine_keys_screen.h"
#include "screens/title_screen.h"
#include "text/text.h"

namespace {

constexpr int kEnter = 13;
constexpr int kEscape = 27;
constexpr int kUp = 38;
constexpr int kDown = 40;
const std::array<int, 3> kBlack = {0, 0, 0};
const std::array<int, 3> kGrey = {170, 170, 170};
const std::array<int, 3> kWhite = {255, 255, 255};

// Selects a menu line with the cursor keys (one per update) and activates it with enter.
void Choose(GameHarness& game, c_Menu& menu, int item) {
    while (menu.m_selected != item) {
        game.Tap(menu.m_selected < item ? kDown : kUp);
        game.Update();
    }
    game.Tap(kEnter);
    game.Update();
}

// The resolution the options screen settles on: 640 x 480 when the monitor offers it, else its
// first mode ("WxH").
std::string ExpectedResolution() {
    const auto& modes = bb_app_DisplayModes();
    for (const c_DisplayMode& mode : modes) {
        if (mode.p_Width() == 640 && mode.p_Height() == 480)
            return "640x480";
    }
    if (modes.empty())
        return "640x480";
    return std::to_string(modes[0].p_Width()) + "x" + std::to_string(modes[0].p_Height());
}

void OpenOptions(GameHarness& game) {
    game.WaitForTitle();
    Choose(game, *bb_tazzle_titleScreen->m_menu, 1);
    ASSERT_EQ(bb_tazzle_mainState, c_MainState::Options);
}

TEST(FrontEnd, LoadsBehindAFlashingNoticeThenShowsTheTitle) {
    GameHarness game;
    EXPECT_EQ(bb_tazzle_mainState, c_MainState::Init);
    game.Update();
    EXPECT_EQ(bb_tazzle_mainState, c_MainState::Loading);
    ASSERT_NE(bb_tazzle_titleScreen, nullptr);
    // Nothing has been delivered yet: the screen is plain black, with no notice.
    game.Render();
    EXPECT_EQ(CountPixels(game, 232, 224, 176, 32, kBlack), 176 * 32);

    // The completions arrive during an update; the switch to the title needs one more, so the
    // update that brings the font still leaves the game loading.
    ASSERT_TRUE(game.UpdateUntil([] { return bb_text_spectrumText->p_IsFontLoaded(); }));
    ASSERT_EQ(bb_tazzle_mainState, c_MainState::Loading);
    game.Render();
    EXPECT_GT(CountPixels(game, 240, 232, 160, 16, kWhite), 0);
    EXPECT_EQ(CountPixels(game, 0, 0, 640, 200, kBlack), 640 * 200);

    game.WaitForTitle();
    EXPECT_EQ(bb_audio_MusicState(), 1);
    game.Update();
    game.Render();
    EXPECT_EQ(game.Pixel(639, 479), kGrey);
    // The version, black, in the top-right corner: "V2.1" starts at x = 576.
    EXPECT_GT(CountPixels(game, 576, 0, 64, 16, kBlack), 0);
    EXPECT_EQ(CountPixels(game, 560, 0, 16, 16, kGrey), 16 * 16);
}

TEST(FrontEnd, TitleTintAndScrollArithmetic) {
    GameHarness game;
    game.WaitForTitle();
    c_TitleScreen& title = *bb_tazzle_titleScreen;
    EXPECT_EQ(title.m_colourIndex, 0); // black first
    int length = static_cast<int>(title.m_scrollText.size());
    int startPos = title.m_scrollPos;
    int startOffset = title.m_scrollOffset;
    for (int update = 1; update <= 8 * length; ++update) {
        game.Update();
        if (update <= 4 * 14 * 2) {
            EXPECT_EQ(title.m_colourIndex, (update / 4) * 3 % 42) << update;
        }
    }
    EXPECT_EQ(title.m_scrollPos, startPos);
    EXPECT_EQ(title.m_scrollOffset, startOffset);
    EXPECT_EQ(title.p_VisibleScrollText().size(), 41u);
}

TEST(FrontEnd, TheScrollTextNamesTheControlKeys) {
    GameHarness game;
    game.WaitForTitle();
    const String& text = bb_tazzle_titleScreen->m_scrollText;
    EXPECT_EQ(text.find(u"CONTROLS: JOYSTICK OR I - LEFT, P - RIGHT, Q - UP, Z - DOWN, "
                        u"H - PAUSE, M - TOGGLE MUSIC, F11 - TOGGLE FULLSCREEN. "
                        u"SELECT 'START GAME' TO PLAY. "),
              150u - 22u);
    EXPECT_EQ(text.find_first_not_of(u' '), 41u);
}

TEST(FrontEnd, TheScrollCarriesOnButNeverBeyondARebuiltText) {
    GameHarness game;
    game.WaitForTitle();
    c_TitleScreen& title = *bb_tazzle_titleScreen;
    game.Update(8 * 50 + 3);
    EXPECT_EQ(title.m_scrollPos, 50);
    title.p_OnInit(); // as when coming back from the options
    EXPECT_EQ(title.m_scrollPos, 50);
    // Shorter key names make a shorter text: a position beyond its end starts it again.
    title.m_scrollPos = static_cast<int>(title.m_scrollText.size()) + 5;
    title.p_OnInit();
    EXPECT_EQ(title.m_scrollPos, 0);
}

TEST(FrontEnd, OptionsShowTheElevenLinesAndSaveOnLeaving) {
    GameHarness game("MusicVolume=90,EffectsVolume=0");
    OpenOptions(game);
    using Line = c_OptionsScreen;
    c_Menu& menu = *bb_tazzle_optionsScreen->m_menu;
    EXPECT_EQ(menu.m_selected, Line::m_Back);
    EXPECT_EQ(menu.m_x, 64);
    const c_Settings& settings = *bb_settings_gameSettings;
    std::string resolution = ExpectedResolution();
    const String lines[11] = {u"          DIFFICULTY: NORMAL    ",
                              u"          GAME SPEED: 100%      ",
                              u"       VERTICAL SYNC: YES       ",
                              u" FRAME RATE THROTTLE: YES       ",
                              u"         FULL SCREEN: NO        ",
                              u"          RESOLUTION: " + bb_str(resolution) +
                                  String(9 - std::min<size_t>(9, resolution.size()), u' ') + u" ",
                              u"      EFFECTS VOLUME:   0%      ",
                              u"        MUSIC VOLUME:  90%      ",
                              u"              PIXELS: SMOOTH    ",
                              u"       REDEFINE KEYS...         ",
                              u" ** BACK ** "};
    for (int i = 0; i < 11; ++i) {
        EXPECT_EQ(menu.m_items[i]->m_text, lines[i]) << i;
        EXPECT_EQ(menu.p_ItemY(i), 112 + 32 * i) << i;
    }
    EXPECT_EQ(menu.m_items[Line::m_GameSpeed]->m_red, 170); // red, as the other play line
    EXPECT_EQ(menu.m_items[Line::m_Pixels]->m_blue, 170);   // blue, as the other display lines
    EXPECT_LE(menu.p_ItemY(Line::m_Back) + 16, 480);        // BACK still on screen
    EXPECT_EQ(bb_itos(settings.m_resolutionWidth) + u"x" + bb_itos(settings.m_resolutionHeight),
              bb_str(resolution));

    Choose(game, menu, Line::m_MusicVolume); // 90 -> 100
    Choose(game, menu, Line::m_MusicVolume); // 100 -> 0
    game.Update();
    EXPECT_EQ(menu.m_items[Line::m_MusicVolume]->m_text, u"        MUSIC VOLUME:   0%      ");
    Choose(game, menu, Line::m_Difficulty);
    Choose(game, menu, Line::m_Difficulty);
    EXPECT_EQ(bb_settings_gameSettings->m_difficulty, 0);
    game.Update();
    EXPECT_EQ(menu.m_items[Line::m_Difficulty]->m_text, u"          DIFFICULTY: EASY      ");
    Choose(game, menu, Line::m_FrameRateThrottle);
    EXPECT_FALSE(bb_settings_gameSettings->m_frameRateThrottle);
    EXPECT_EQ(bb_app__updateRate, 0);
    // Half speed: 30 updates a second, paced even with the throttle off, and at once.
    for (int step = 0; step < 5; ++step)
        Choose(game, menu, Line::m_GameSpeed);
    EXPECT_EQ(bb_app__updateRate, 30);
    EXPECT_EQ(game.Host().UpdateRate(), 30);
    game.Update();
    EXPECT_EQ(menu.m_items[Line::m_GameSpeed]->m_text, u"          GAME SPEED:  50%      ");
    Choose(game, menu, Line::m_Pixels);
    EXPECT_EQ(bb_graphics_device->Filtering(), gxtkFiltering::Nearest); // at once
    game.Update();
    EXPECT_EQ(menu.m_items[Line::m_Pixels]->m_text, u"              PIXELS: SHARP     ");
    EXPECT_EQ(game.StateFile(), "MusicVolume=90,EffectsVolume=0"); // nothing saved yet

    game.Render();
    EXPECT_EQ(game.Pixel(210, 60), kGrey);
    EXPECT_EQ(game.Pixel(200, 64), (std::array<int, 3>{170, 170, 0})); // the banner's bar

    game.Tap(kEscape);
    game.Update();
    EXPECT_EQ(bb_tazzle_mainState, c_MainState::Title);
    std::string width = resolution.substr(0, resolution.find('x'));
    std::string height = resolution.substr(resolution.find('x') + 1);
    EXPECT_EQ(game.StateFile(),
              "ControlDown=90,ControlFullscreen=122,ControlLeft=73,ControlMusic=77,"
              "ControlPause=72,ControlRight=80,ControlUp=81,Difficulty=0,EffectsVolume=0,"
              "FrameRateThrottle=0,FullScreen=0,GameSpeed=50,MusicVolume=0,ResolutionHeight=" +
                  height + ",ResolutionWidth=" + width + ",SharpPixels=1,VerticalSync=1");
}

TEST(FrontEnd, SavedSettingsAreFoundAgainAtTheNextStart) {
    std::string saved;
    {
        GameHarness game;
        OpenOptions(game);
        Choose(game, *bb_tazzle_optionsScreen->m_menu, c_OptionsScreen::m_EffectsVolume); // -> 0
        Choose(game, *bb_tazzle_optionsScreen->m_menu, c_OptionsScreen::m_Back);          // saves
        saved = game.StateFile();
    }
    GameHarness game(saved);
    game.Update();
    EXPECT_EQ(bb_settings_gameSettings->m_effectsVolume, 0);
}

TEST(FrontEnd, ARedefinedKeyShowsInTheTitleScrollText) {
    GameHarness game;
    OpenOptions(game);
    Choose(game, *bb_tazzle_optionsScreen->m_menu, c_OptionsScreen::m_RedefineKeys);
    ASSERT_EQ(bb_tazzle_mainState, c_MainState::RedefineKeys);
    c_RedefineKeysScreen& keys = *bb_tazzle_redefineKeysScreen;
    EXPECT_EQ(keys.m_menu->m_selected, 7);
    Choose(game, *keys.m_menu, 2); // MOVE LEFT; the enter that chose it is not bound
    EXPECT_EQ(keys.m_state, 1);
    game.Update();
    EXPECT_EQ(keys.m_menu->m_items[2]->m_text, u"         MOVE LEFT: <PRESS KEY>   ");
    EXPECT_EQ(bb_settings_gameSettings->m_controls[c_Control::Left], 73);
    game.Tap(65);
    game.Tap(66); // two keys in one update: the higher code wins
    game.Update();
    EXPECT_EQ(bb_settings_gameSettings->m_controls[c_Control::Left], 66);
    game.Update();
    EXPECT_EQ(keys.m_menu->m_items[2]->m_text, u"         MOVE LEFT: B             ");

    game.Tap(kEscape); // back to the options, then on to the title
    game.Update();
    EXPECT_EQ(bb_tazzle_mainState, c_MainState::Options);
    game.Tap(kEscape);
    game.Update();
    ASSERT_EQ(bb_tazzle_mainState, c_MainState::Title);
    EXPECT_NE(bb_tazzle_titleScreen->m_scrollText.find(u"OR B - LEFT, P - RIGHT"), String::npos);
    EXPECT_NE(game.StateFile().find("ControlLeft=66"), std::string::npos);
}

TEST(FrontEnd, EscapeWhileWaitingBindsEscapeAndLeaves) {
    GameHarness game;
    OpenOptions(game);
    Choose(game, *bb_tazzle_optionsScreen->m_menu, c_OptionsScreen::m_RedefineKeys);
    Choose(game, *bb_tazzle_redefineKeysScreen->m_menu, 4);
    game.Tap(kEscape);
    game.Update();
    EXPECT_EQ(bb_settings_gameSettings->m_controls[c_Control::Pause], kEscape);
    EXPECT_EQ(bb_tazzle_mainState, c_MainState::Options);
}

TEST(FrontEnd, PauseMusicAndFullScreenKeys) {
    GameHarness game;
    game.WaitForTitle();
    game.Tap('H');
    game.Update();
    EXPECT_TRUE(bb_tazzle_paused);
    game.Tap('H');
    game.Update();
    EXPECT_FALSE(bb_tazzle_paused);

    game.Tap('M');
    game.Update();
    EXPECT_TRUE(bb_settings_gameSettings->m_musicOff);
    game.Tap('M');
    game.Update();
    EXPECT_FALSE(bb_settings_gameSettings->m_musicOff);

    game.Tap(122); // F11: full screen, then back to the 640 x 480 window
    game.Update();
    EXPECT_TRUE(bb_settings_gameSettings->m_fullScreen);
    game.Tap(122);
    game.Update();
    EXPECT_FALSE(bb_settings_gameSettings->m_fullScreen);
    EXPECT_EQ(bb_app_DeviceWidth(), 640);
    EXPECT_EQ(bb_app_DeviceHeight(), 480);
    EXPECT_EQ(game.StateFile(), ""); // the full-screen key saves nothing

    // On the key redefinition screen the same keys are only candidates for binding.
    OpenOptions(game);
    Choose(game, *bb_tazzle_optionsScreen->m_menu, c_OptionsScreen::m_RedefineKeys);
    game.Tap('H');
    game.Update();
    EXPECT_FALSE(bb_tazzle_paused);
}

float MusicGain() {
    float gain = -1;
    alGetSourcef(bb_audio_device->channels[gxtkAudio::MUSIC_CHANNEL].source, AL_GAIN, &gain);
    return gain;
}

TEST(FrontEnd, MusicSwitchedOffStaysSilentUntilTheMusicKey) {
    GameHarness game;
    game.WaitForTitle();
    EXPECT_FLOAT_EQ(MusicGain(), 0.5f);
    game.Tap('M');
    game.Update();
    EXPECT_FLOAT_EQ(MusicGain(), 0.0f);

    // The full-screen key and the options lines apply every setting; the music stays off.
    game.Tap(122);
    game.Update();
    game.Tap(122);
    game.Update();
    EXPECT_FLOAT_EQ(MusicGain(), 0.0f);
    OpenOptions(game);
    Choose(game, *bb_tazzle_optionsScreen->m_menu, c_OptionsScreen::m_MusicVolume);
    EXPECT_EQ(bb_settings_gameSettings->m_musicVolume, 60);
    EXPECT_FLOAT_EQ(MusicGain(), 0.0f);

    // On again, at the volume just chosen.
    game.Tap('M');
    game.Update();
    EXPECT_FLOAT_EQ(MusicGain(), 0.6f);
}

TEST(FrontEnd, LosingFocusPausesUntilThePauseKey) {
    GameHarness game;
    game.WaitForTitle();
    game.Host().SuspendGame();
    EXPECT_TRUE(bb_tazzle_paused);
    game.Host().ResumeGame();
    game.Update();
    EXPECT_TRUE(bb_tazzle_paused);
    game.Tap('H');
    game.Update();
    EXPECT_FALSE(bb_tazzle_paused);
}

TEST(FrontEnd, AClickActivatesOnlyWhenPressedAndReleasedOverTheSameLine) {
    GameHarness game;
    game.WaitForTitle();
    c_Menu& menu = *bb_tazzle_titleScreen->m_menu;
    game.MouseDown(300, 20); // over START GAME
    game.Update();
    game.MouseMove(300, 52); // dragged to OPTIONS
    game.Update();
    EXPECT_EQ(menu.m_selected, 1);
    game.MouseUp(300, 52);
    game.Update();
    EXPECT_EQ(bb_tazzle_mainState, c_MainState::Title);

    game.MouseDown(300, 52);
    game.Update();
    game.MouseUp(300, 52);
    game.Update();
    EXPECT_EQ(bb_tazzle_mainState, c_MainState::Options);
}

TEST(FrontEnd, StartingAGameFadesFor112UpdatesThenEntersTheRoad) {
    GameHarness game;
    game.WaitForTitle();
    bb_tazzle_lastScoreUpdate = 3000; // as a previous game might have left it
    bb_tazzle_paused = true;
    game.Tap(kEnter);
    game.Update();
    EXPECT_EQ(bb_tazzle_level, 1);
    EXPECT_EQ(bb_tazzle_money, 40);
    EXPECT_EQ(bb_tazzle_score, 0);
    EXPECT_FALSE(bb_tazzle_gotSkis);
    EXPECT_FALSE(bb_tazzle_paused);
    EXPECT_EQ(bb_tazzle_lastScoreUpdate, 0);
    EXPECT_EQ(bb_tazzle_titleScreen->m_state, 1);

    game.Tap(kEscape); // ignored while the fade runs
    for (int update = 1; update < 112; ++update) {
        game.Update();
        ASSERT_EQ(bb_tazzle_mainState, c_MainState::Title) << update;
    }
    game.Render();
    // The last band sequence at full thickness: blue over everything.
    EXPECT_EQ(game.Pixel(0, 0), (std::array<int, 3>{0, 0, 170}));
    game.Update();
    EXPECT_EQ(bb_tazzle_mainState, c_MainState::Road);
}

void QuitFromTheTitle() {
    GameHarness game;
    game.WaitForTitle();
    game.Tap(kEscape);
    game.Update();
}

TEST(FrontEndDeathTest, EscapeOnTheTitleEndsTheProgramWithStatusZero) {
    // The child starts afresh (not a bare fork of a process with GL and audio threads).
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(QuitFromTheTitle(), ::testing::ExitedWithCode(0), "");
}

} // namespace
