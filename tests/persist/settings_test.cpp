// The settings' defaults, their exact saved text, and reading them back (missing keys, bad
// numbers, clamped volumes and difficulty); the command line's display, kept out of the file.

#include "persist/settings.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <vector>

#include "host/app.h"
#include "host/bb_game.h"

#include "common/config_folder.h"

namespace {

const String kDefaultText =
    u"ControlDown=90,ControlFullscreen=122,ControlLeft=73,ControlMusic=77,ControlPause=72,"
    u"ControlRight=80,ControlUp=81,Difficulty=1,EffectsVolume=100,FrameRateThrottle=1,"
    u"FullScreen=0,GameSpeed=100,MusicVolume=50,ResolutionHeight=480,ResolutionWidth=640,"
    u"SharpPixels=0,"
    u"VerticalSync=1";

String SavedText(c_Settings& settings) {
    settings.p_WriteFields();
    return settings.m_state->p_Encode();
}

void LoadText(c_Settings& settings, const String& text) {
    settings.m_state->p_Decode(text);
    settings.p_ReadFields();
}

TEST(Settings, DefaultsSaveAsTheExactText) {
    c_Settings settings;
    EXPECT_EQ(SavedText(settings), kDefaultText);
}

TEST(Settings, AnEmptyStateKeepsEveryDefault) {
    c_Settings settings;
    LoadText(settings, u"");
    EXPECT_EQ(SavedText(settings), kDefaultText);
}

TEST(Settings, ReadsEveryField) {
    c_Settings settings;
    LoadText(settings,
             u"ControlDown=40,ControlFullscreen=70,ControlLeft=37,ControlMusic=78,"
             u"ControlPause=32,ControlRight=39,ControlUp=38,Difficulty=2,EffectsVolume=30,"
             u"FrameRateThrottle=0,FullScreen=1,GameSpeed=70,MusicVolume=0,ResolutionHeight=768,"
             u"ResolutionWidth=1024,SharpPixels=1,VerticalSync=0");
    EXPECT_EQ(settings.m_difficulty, 2);
    EXPECT_EQ(settings.m_gameSpeed, 70);
    EXPECT_FALSE(settings.m_verticalSync);
    EXPECT_FALSE(settings.m_frameRateThrottle);
    EXPECT_TRUE(settings.m_fullScreen);
    EXPECT_EQ(settings.m_resolutionWidth, 1024);
    EXPECT_EQ(settings.m_resolutionHeight, 768);
    EXPECT_EQ(settings.m_effectsVolume, 30);
    EXPECT_EQ(settings.m_musicVolume, 0);
    EXPECT_TRUE(settings.m_sharpPixels);
    EXPECT_EQ(settings.m_controls, (std::array<int, 7>{38, 40, 37, 39, 32, 78, 70}));
}

TEST(Settings, AnOlderFileLoadsSmoothPixelsAtFullSpeedAndSavesTheKeysInTheirPlace) {
    String older = kDefaultText;
    older.erase(older.find(u"SharpPixels=0,"), 14);
    older.erase(older.find(u"GameSpeed=100,"), 14);
    c_Settings settings;
    LoadText(settings, older);
    EXPECT_FALSE(settings.m_sharpPixels);
    EXPECT_EQ(settings.m_gameSpeed, 100);
    EXPECT_EQ(SavedText(settings), kDefaultText);
}

// Each update is the same at any speed: only the frame loop's rate changes, and a slower game is
// paced even with the throttle off. A speed the options do not offer takes the next slower one.
TEST(Settings, GameSpeedScalesTheUpdateRate) {
    struct Case {
        String text;
        int speed, rate;
    };
    const Case cases[] = {
        {u"", 100, 60},
        {u"FrameRateThrottle=0", 100, 0},
        {u"GameSpeed=50", 50, 30},
        {u"GameSpeed=50,FrameRateThrottle=0", 50, 30},
        {u"GameSpeed=90,FrameRateThrottle=0", 90, 54},
        {u"GameSpeed=75", 70, 42},
        {u"GameSpeed=0", 50, 30},
        {u"GameSpeed=-99999999999", 50, 30},
        {u"GameSpeed=1000", 100, 60},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(bb_narrow(c.text));
        c_Settings settings;
        LoadText(settings, c.text);
        EXPECT_EQ(settings.m_gameSpeed, c.speed);
        EXPECT_EQ(settings.p_UpdateRate(), c.rate);
    }
    std::vector<int> steps{100};
    for (int i = 0; i < 6; ++i)
        steps.push_back(c_Settings::p_NextGameSpeed(steps.back()));
    EXPECT_EQ(steps, (std::vector<int>{100, 90, 80, 70, 60, 50, 100}));
}

TEST(Settings, ConvertsStoredTextLikeTheCLibraryAndClampsRanges) {
    struct Case {
        String text;
        int difficulty, effects, music, up, width;
        bool vsync;
    };
    const Case cases[] = {
        {u"ControlUp=abc", 1, 100, 50, 0, 640, true},
        {u"ControlUp= 65xyz", 1, 100, 50, 65, 640, true},
        {u"ControlUp=600", 1, 100, 50, 600, 640, true}, // out of range: the control is unusable
        {u"ControlUp=-5", 1, 100, 50, -5, 640, true},
        {u"VerticalSync=2", 1, 100, 50, 81, 640, true},
        {u"VerticalSync=abc", 1, 100, 50, 81, 640, false},
        {u"EffectsVolume=1000,MusicVolume=-20", 1, 100, 0, 81, 640, true},
        {u"EffectsVolume=-1,MusicVolume=101", 1, 0, 100, 81, 640, true},
        {u"Difficulty=7", 2, 100, 50, 81, 640, true},
        {u"Difficulty=-3", 0, 100, 50, 81, 640, true},
        // A size no window could have falls back to the windowed one.
        {u"ResolutionWidth=99999999999999999999", 1, 100, 50, 81, 640, true},
        {u"ResolutionWidth=-99999999999999999999", 1, 100, 50, 81, 640, true},
        {u"ResolutionWidth=0", 1, 100, 50, 81, 640, true},
        {u"ResolutionWidth=32767", 1, 100, 50, 81, 32767, true},
        {u"Difficulty=,EffectsVolume=", 1, 100, 50, 81, 640, true},
    };
    for (const Case& c : cases) {
        c_Settings settings;
        LoadText(settings, c.text);
        SCOPED_TRACE(bb_narrow(c.text));
        EXPECT_EQ(settings.m_difficulty, c.difficulty);
        EXPECT_EQ(settings.m_effectsVolume, c.effects);
        EXPECT_EQ(settings.m_musicVolume, c.music);
        EXPECT_EQ(settings.m_controls[c_Control::Up], c.up);
        EXPECT_EQ(settings.m_resolutionWidth, c.width);
        EXPECT_EQ(settings.m_verticalSync, c.vsync);
    }
}

TEST(Settings, AStoredNumberEndsAtItsFirstCharacterOutsideAscii) {
    // U+0131 and U+0130 end in the bytes of the digits 1 and 0, and are neither.
    c_Settings settings;
    LoadText(settings, u"ControlUp=\u0131,ControlDown=7\u0130,EffectsVolume=3\u0130\u0130");
    EXPECT_EQ(settings.m_controls[c_Control::Up], 0);
    EXPECT_EQ(settings.m_controls[c_Control::Down], 7);
    EXPECT_EQ(settings.m_effectsVolume, 3);
}

TEST(Settings, TrueFlagsSaveAsOneAndUnknownKeysAreDroppedOnSave) {
    c_Settings settings;
    LoadText(settings, u"VerticalSync=2,Zzz=kept until saved");
    EXPECT_EQ(settings.m_state->p_Get(u"Zzz"), u"kept until saved");
    String text = SavedText(settings);
    EXPECT_EQ(text, kDefaultText);
    EXPECT_EQ(text.find(u"Zzz"), String::npos);
}

// The settings through the host's state file, in a folder of their own.
class SettingsFileTest : public ::testing::Test {
protected:
    void SetUp() override {
        previous_ = std::filesystem::current_path();
        folder_ = MakeConfigFolder("settings-test");
        ASSERT_FALSE(folder_.empty());
        std::filesystem::current_path(folder_);
        bb_app_Reset(); // the state file goes through this host
    }
    void TearDown() override {
        std::filesystem::current_path(previous_);
        RemoveConfigFolder(folder_);
    }
    std::string FileText() const {
        std::ifstream file(folder_ / ".zibbetstate", std::ios::binary);
        std::ostringstream text;
        text << file.rdbuf();
        return text.str();
    }

    BBGame host_;
    std::filesystem::path previous_;
    std::filesystem::path folder_;
};

TEST_F(SettingsFileTest, TheCommandLinesDisplayIsNotSavedButThePlayersOwnChoiceIs) {
    c_Settings settings;
    LoadText(settings, u"FullScreen=0");
    settings.p_SetFullScreenForRun(true);
    EXPECT_TRUE(settings.m_fullScreen);
    EXPECT_NE(SavedText(settings).find(u",FullScreen=0,"), String::npos);
    EXPECT_EQ(settings.p_EncodeFields(), SavedText(settings));
    // Out of full screen and back again during the run: full screen is now the player's choice.
    settings.p_ToggleFullScreen();
    settings.p_ToggleFullScreen();
    EXPECT_TRUE(settings.m_fullScreen);
    EXPECT_NE(SavedText(settings).find(u",FullScreen=1,"), String::npos);
}

TEST_F(SettingsFileTest, SavedSettingsLoadBackAndMissingFilesGiveDefaults) {
    c_Settings first;
    first.p_Load(); // no file yet
    EXPECT_EQ(SavedText(first), kDefaultText);
    first.m_controls[c_Control::Pause] = 27;
    first.m_musicVolume = 0;
    first.m_fullScreen = true;
    first.p_Save();
    std::string text = FileText();
    EXPECT_NE(text.find("ControlPause=27,"), std::string::npos) << text;
    EXPECT_NE(text.find(",MusicVolume=0,"), std::string::npos) << text;

    c_Settings second;
    second.p_Load();
    EXPECT_EQ(second.m_controls[c_Control::Pause], 27);
    EXPECT_EQ(second.m_musicVolume, 0);
    EXPECT_TRUE(second.m_fullScreen);
    EXPECT_EQ(SavedText(second), bb_str(text));
}

} // namespace
