// The program's options as a player meets them: --help, --version and a mistake end at once
// without a window; --fullscreen holds for its run and is not saved, and like a saved full screen
// shows no other window first; a game played (at half speed) under --record replays in
// skiddlewick-replay with every check in sync, and --play shows it to the end and ends with
// status 0.
#include "common/child_process.h"
#include "common/config_folder.h"
#include "common/file_bytes.h"
#include "e2e/window_shot_support.h"
#include "e2e/x11_window_support.h"

#include "runtime/version.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <thread>

namespace fs = std::filesystem;

namespace {

const fs::path kTool = fs::path(SKIDDLEWICK_BINARY).parent_path() / "skiddlewick-replay";

class CommandLineE2E : public ::testing::Test {
protected:
    // The program's config folder is the test's working folder.
    void SetUp() override {
        folder_ = MakeConfigFolder("e2e-options");
        ASSERT_FALSE(folder_.empty());
    }
    void TearDown() override { RemoveConfigFolder(folder_); }

    // The program in the test's folder, standard error kept apart in errors.txt.
    ChildResult Run(const std::vector<std::string>& args, std::vector<std::string> env = {},
                    const fs::path& program = SKIDDLEWICK_BINARY) {
        ProgramRun run;
        run.args = {"/bin/sh", "-c", "exec \"$@\" 2>errors.txt", "sh", program.string()};
        run.args.insert(run.args.end(), args.begin(), args.end());
        env.push_back("ALSOFT_DRIVERS=null");
        run.env = env;
        run.cwd = folder_.string();
        return RunProgram(run, 120);
    }
    std::string Errors() const { return ReadFile(folder_ / "errors.txt"); }

    // Types keys into the window, once it has the focus.
    static void Keys(const GameWindow& window, const std::string& keys) {
        Shell("xdotool windowfocus --sync " + std::to_string(window.id) +
              " 2>/dev/null; xdotool key --delay 100 " + keys);
    }

    fs::path folder_;
};

// The title's grey in the bottom-right corner of the picture, wherever the window's size puts it.
bool AwaitTitle(const GameWindow& window, const fs::path& file) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    while (std::chrono::steady_clock::now() < deadline) {
        const Shot shot = Screenshot(window.id, file);
        if (shot.width == window.width && shot.height == window.height) {
            const int scale = std::min(shot.width / 640, shot.height / 480);
            const int right = (shot.width + 640 * scale) / 2 - 1;
            const int bottom = (shot.height + 480 * scale) / 2 - 1;
            if (scale > 0 && shot.At(right, bottom) == Rgb{170, 170, 170})
                return true;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    return false;
}

// Only one window was shown so far: the full-screen one, and no window before it.
void ExpectOnlyFullScreenShown(TestDisplay& display) {
    const std::vector<std::array<int, 2>> shown = display.ShownSizes();
    ASSERT_FALSE(shown.empty());
    EXPECT_EQ(shown.size(), 1u) << "the first of them was " << shown[0][0] << " x " << shown[0][1];
}

TEST_F(CommandLineE2E, HelpVersionAndMistakesEndAtOnceWithoutAWindow) {
    // Without a display any window would fail to open, and the program would say so.
    const ChildResult help = Run({"--help"}, {"DISPLAY"});
    EXPECT_EQ(help.status, 0);
    EXPECT_EQ(help.out.rfind("usage: skiddlewick [OPTION]...\n", 0), 0u) << help.out;

    const ChildResult version = Run({"--version"}, {"DISPLAY"});
    EXPECT_EQ(version.status, 0);
    EXPECT_EQ(version.out, std::string("skiddlewick ") + bb_version_Number + "\n");

    const ChildResult unknown = Run({"--fast"}, {"DISPLAY"});
    EXPECT_EQ(unknown.status, 2);
    EXPECT_EQ(unknown.out, "");
    EXPECT_EQ(Errors().rfind("skiddlewick: unknown option '--fast'\nusage: skiddlewick", 0), 0u)
        << Errors();

    const ChildResult unwritable = Run({"--record", "no/such/folder/game.replay"}, {"DISPLAY"});
    EXPECT_EQ(unwritable.status, 1);
    EXPECT_EQ(Errors(), "skiddlewick: cannot write the recording 'no/such/folder/game.replay': "
                        "No such file or directory\n");
}

TEST_F(CommandLineE2E, FullscreenHoldsForItsRunAndIsNotSaved) {
    TestDisplay display;
    ASSERT_TRUE(display.ok()) << "needs a display (Xvfb)";
    WriteFile(folder_ / ".zibbetstate", "FullScreen=0");
    display.WatchShownWindows();
    auto [pid, out, window] = StartWithWindow(
        display, {{SKIDDLEWICK_BINARY, "--fullscreen"}, {"ALSOFT_DRIVERS=null"}, folder_}, 20, 640);
    ASSERT_TRUE(window.has_value()) << "no full-screen window appeared";
    ASSERT_TRUE(AwaitTitle(*window, folder_ / "shot.png")) << "the title never appeared";
    ExpectOnlyFullScreenShown(display);
    // OPTIONS, then back, which saves the settings; then Escape on the title ends the program.
    Keys(*window, "Down Return");
    std::this_thread::sleep_for(std::chrono::milliseconds(500));
    Keys(*window, "Escape");
    std::this_thread::sleep_for(std::chrono::milliseconds(500));
    Keys(*window, "Escape");
    const ChildResult result = WaitProgram(pid, out, 20);
    EXPECT_EQ(result.status, 0) << result.out;
    const std::string saved = ReadFile(folder_ / ".zibbetstate");
    EXPECT_NE(saved.find(",Difficulty="), std::string::npos) << "nothing was saved: " << saved;
    EXPECT_NE(saved.find(",FullScreen=0,"), std::string::npos) << saved;
}

// Saved full screen: the first window the player sees is the full-screen one.
TEST_F(CommandLineE2E, SavedFullScreenOpensNoOtherWindowFirst) {
    TestDisplay display;
    ASSERT_TRUE(display.ok()) << "needs a display (Xvfb)";
    WriteFile(folder_ / ".zibbetstate", "FullScreen=1");
    display.WatchShownWindows();
    auto [pid, out, window] =
        StartWithWindow(display, {{SKIDDLEWICK_BINARY}, {"ALSOFT_DRIVERS=null"}, folder_}, 20, 640);
    ASSERT_TRUE(window.has_value()) << "no full-screen window appeared";
    ASSERT_TRUE(AwaitTitle(*window, folder_ / "shot.png")) << "the title never appeared";
    ExpectOnlyFullScreenShown(display);
    display.SendClose(window->id);
    EXPECT_EQ(WaitProgram(pid, out, 20).status, 0);
}

TEST_F(CommandLineE2E, ARecordedGameReplaysInSyncAndPlaysBackToItsEnd) {
    TestDisplay display;
    ASSERT_TRUE(display.ok()) << "needs a display (Xvfb)";
    const std::string recording = (folder_ / "game.replay").string();
    // Recorded at half speed: fewer updates a second, each the same, so the replays keep in sync.
    WriteFile(folder_ / ".zibbetstate", "GameSpeed=50");
    auto [pid, out, window] = StartWithWindow(
        display, {{SKIDDLEWICK_BINARY, "--record", recording}, {"ALSOFT_DRIVERS=null"}, folder_},
        20);
    ASSERT_TRUE(window.has_value()) << "no window appeared";
    ASSERT_TRUE(AwaitTitle(*window, folder_ / "shot.png")) << "the title never appeared";
    Keys(*window, "Return");
    // The fade into the road takes its 112 updates, nearly 4 seconds at half speed.
    std::this_thread::sleep_for(std::chrono::seconds(5));
    Shell("xdotool keydown i; sleep 0.5; xdotool keyup i; sleep 1");
    display.SendClose(window->id);
    const ChildResult recorded = WaitProgram(pid, out, 20);
    ASSERT_EQ(recorded.status, 0) << recorded.out;
    const std::string text = ReadFile(recording);
    EXPECT_NE(text.find("\ncheck "), std::string::npos) << text;
    EXPECT_NE(text.find("\npress 73\n"), std::string::npos) << text;
    EXPECT_NE(text.find(",GameSpeed=50,"), std::string::npos) << text;

    const ChildResult replayed = Run({recording}, {}, kTool);
    EXPECT_EQ(replayed.status, 0) << Errors();
    EXPECT_NE(replayed.out.find(" main=3 keys=73 "), std::string::npos);

    // Shown in its own window to the end, every check compared, and the player's settings file
    // left alone.
    const ChildResult played = Run({"--play", recording});
    EXPECT_EQ(played.status, 0) << Errors() << played.out;
    EXPECT_EQ(Errors(), "");
    EXPECT_EQ(ReadFile(folder_ / ".zibbetstate"), "GameSpeed=50");
}

} // namespace
