// Whatever lies in the state file's place (garbage, binary, a huge file, something that is not a
// file at all or cannot be read) the settings load sane, and a folder that cannot be written loses
// nothing and stops nothing.
#include "files/state_file.h"
#include "host/app.h"
#include "host/bb_game.h"
#include "persist/settings.h"

#include "common/child_process.h"
#include "common/config_folder.h"
#include "hardening/privileges_support.h"

#include <gtest/gtest.h>

#include "common/file_bytes.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>

namespace fs = std::filesystem;
using namespace std::string_literals;

namespace {

std::string Repeat(std::string_view piece, size_t bytes) {
    std::string text;
    while (text.size() < bytes)
        text += piece;
    text.resize(bytes);
    return text;
}

std::string EveryByte(int times) {
    std::string bytes;
    for (int i = 0; i < times; ++i)
        for (int b = 0; b < 256; ++b)
            bytes += static_cast<char>(b);
    return bytes;
}

// The settings as the game loads them at start-up, through the registered host.
c_Settings LoadSettings() {
    c_Settings settings;
    settings.p_Load();
    return settings;
}

// Values the rest of the game can use: a difficulty with tables, volumes that are gains, and a
// size a window can be opened at.
void ExpectSane(const c_Settings& settings) {
    EXPECT_GE(settings.m_difficulty, c_Difficulty::Easy);
    EXPECT_LE(settings.m_difficulty, c_Difficulty::Hard);
    EXPECT_GE(settings.m_effectsVolume, 0);
    EXPECT_LE(settings.m_effectsVolume, 100);
    EXPECT_GE(settings.m_musicVolume, 0);
    EXPECT_LE(settings.m_musicVolume, 100);
    EXPECT_GE(settings.m_resolutionWidth, 1);
    EXPECT_LE(settings.m_resolutionWidth, 32767);
    EXPECT_GE(settings.m_resolutionHeight, 1);
    EXPECT_LE(settings.m_resolutionHeight, 32767);
}

String SavedText(c_Settings& settings) {
    settings.p_WriteFields();
    return settings.m_state->p_Encode();
}

bool HasDefaults(c_Settings& settings) {
    c_Settings defaults;
    return SavedText(settings) == SavedText(defaults);
}

bool LoadsDefaults() {
    c_Settings settings = LoadSettings();
    return HasDefaults(settings);
}

// Each test runs in a fresh, empty config folder, which is also the working folder.
class BadStateFileTest : public ::testing::Test {
protected:
    void SetUp() override {
        old_ = fs::current_path();
        dir_ = MakeConfigFolder("badstate");
        fs::current_path(dir_);
        bb_app_Reset(); // the state file goes through this host
    }
    void TearDown() override {
        fs::current_path(old_);
        fs::permissions(dir_, fs::perms::owner_all);
        RemoveConfigFolder(dir_);
    }
    fs::path old_, dir_;
    BBGame game_;
};

TEST_F(BadStateFileTest, AnyContentLoadsAsSaneSettings) {
    struct Case {
        const char* what;
        std::string bytes;
        bool defaults; // nothing in it names a setting
    };
    const Case cases[] = {
        {"empty", "", true},
        {"garbage text", "#!/bin/sh\n\\\\==,,=,\\\nrm -rf / ; \xE2\x82\xAC%s%n", true},
        {"every byte value", EveryByte(4), true},
        {"bytes, then settings with binary values",
         "\0\xFF,Difficulty=\xFF\xFE"
         "9,MusicVolume=\x80\x81,FullScreen=\x01"s,
         false},
        {"every value out of range",
         "Difficulty=99,EffectsVolume=-7,MusicVolume=1000,FullScreen=1,ResolutionWidth=0,"
         "ResolutionHeight=-480,ControlUp=999999,ControlDown=-1",
         false},
        {"numbers far beyond an int",
         "ResolutionWidth=999999999999999999999999,ResolutionHeight=-99999999999999999999,"
         "EffectsVolume=99999999999999999999,FullScreen=1",
         false},
        {"UTF-16 with a byte-order mark",
         "\xFF\xFE"
         "D\0i\0f\0f\0i\0c\0u\0l\0t\0y\0=\0000\0"s,
         false},
        {"a key of a megabyte less a little", Repeat("K", bb_files_largestStateFile - 16), true},
        {"more than the largest state file",
         "Difficulty=0,Padding=" + Repeat("x", bb_files_largestStateFile), true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        WriteFile(".zibbetstate", c.bytes);
        c_Settings settings = LoadSettings();
        ExpectSane(settings);
        EXPECT_EQ(HasDefaults(settings), c.defaults);
    }
}

TEST_F(BadStateFileTest, ReadableValuesSurviveTheGarbageAroundThem) {
    WriteFile(".zibbetstate", "\x01\x02\xFF,Difficulty=0,\0\0\0,MusicVolume=70,==,\\"s);
    c_Settings settings = LoadSettings();
    EXPECT_EQ(settings.m_difficulty, c_Difficulty::Easy);
    EXPECT_EQ(settings.m_musicVolume, 70);
    EXPECT_EQ(settings.m_effectsVolume, 100);
}

TEST_F(BadStateFileTest, AFullScreenSizeNoWindowCouldHaveFallsBackToTheWindowedSize) {
    WriteFile(".zibbetstate", "FullScreen=1,ResolutionWidth=-1024,ResolutionHeight=768");
    c_Settings settings = LoadSettings();
    EXPECT_TRUE(settings.m_fullScreen);
    EXPECT_EQ(settings.m_resolutionWidth, 640);
    EXPECT_EQ(settings.m_resolutionHeight, 480);
}

// A huge file is never read into memory: a sparse file of 8 GiB costs no disk and would need
// far more memory than a test machine has.
TEST_F(BadStateFileTest, AHugeFileStartsWithDefaults) {
    int fd = open(".zibbetstate", O_WRONLY | O_CREAT | O_TRUNC, 0644);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(ftruncate(fd, 8LL << 30), 0);
    close(fd);
    EXPECT_TRUE(LoadsDefaults());
}

// What stands in the state file's place may block on opening (a FIFO without a writer), never
// end (a device) or not be a file at all; each must start with the defaults, and soon.
TEST_F(BadStateFileTest, SomethingOtherThanAFileStartsWithDefaults) {
    struct Case {
        const char* what;
        std::function<void()> make;
    };
    const Case cases[] = {
        {"a folder", [] { fs::create_directory(".zibbetstate"); }},
        {"a FIFO with no writer", [] { mkfifo(".zibbetstate", 0644); }},
        {"a link to an endless device", [] { fs::create_symlink("/dev/zero", ".zibbetstate"); }},
        {"a link to nowhere", [] { fs::create_symlink("no/such/file", ".zibbetstate"); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        fs::remove_all(".zibbetstate");
        c.make();
        ASSERT_TRUE(fs::is_symlink(".zibbetstate") || fs::exists(".zibbetstate"));
        ChildResult result = RunInChild([] { std::_Exit(LoadsDefaults() ? 0 : 1); }, 10);
        EXPECT_FALSE(result.timedOut);
        EXPECT_EQ(result.status, 0);
    }
}

// Permission bits bind only a process without the file-access override; the child gives it up.
TEST_F(BadStateFileTest, AnUnreadableFileStartsWithDefaults) {
    WriteFile(".zibbetstate", "Difficulty=2,MusicVolume=10");
    fs::permissions(".zibbetstate", fs::perms::none);
    ChildResult result = RunInChild([] {
        if (!DropFileAccessOverride())
            std::_Exit(2);
        std::_Exit(LoadsDefaults() ? 0 : 1);
    });
    EXPECT_EQ(result.status, 0);
}

// Leaving the options screen saves; with neither the config folder nor the file writable the save
// fails with a message on standard error, the old file stays as it was, nothing is left behind,
// and the settings in use are unchanged. (A writable file in such a folder is written in place.)
TEST_F(BadStateFileTest, AnUnwritableFolderAndFileKeepTheOldFileAndTheSettingsInUse) {
    WriteFile(".zibbetstate", "Difficulty=2");
    fs::permissions(".zibbetstate", fs::perms::owner_read);
    fs::permissions(dir_, fs::perms::owner_read | fs::perms::owner_exec);
    ChildResult result = RunInChild([] {
        if (!DropFileAccessOverride())
            std::_Exit(2);
        c_Settings settings = LoadSettings();
        settings.m_difficulty = c_Difficulty::Easy;
        settings.m_musicVolume = 20;
        settings.p_Save(); // fails, with a message
        const bool failed = bb_app_SaveState(settings.m_state->p_Encode()) == -1;
        const bool unchanged = settings.m_difficulty == c_Difficulty::Easy &&
                               settings.m_musicVolume == 20 &&
                               LoadSettings().m_difficulty == c_Difficulty::Hard;
        std::_Exit(failed && unchanged ? 0 : 1);
    });
    EXPECT_EQ(result.status, 0);
    EXPECT_EQ(ReadFile(dir_ / ".zibbetstate"), "Difficulty=2");
    EXPECT_EQ(std::distance(fs::directory_iterator(dir_), fs::directory_iterator()), 1);
}

} // namespace
