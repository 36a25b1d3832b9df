// The program's options as a player meets them: --help, --version, --runs and a mistake end at
// once without a window; --fullscreen holds for its run and is not saved, and like a saved full
// screen shows no other window first; --record (at half speed) writes a recording that --play
// shows to its end, every check in sync, with status 0, and the game played is kept too, listed by
// --runs and shown from a link. A damaged link or one holding too much is one line, status 2.
// (That a recording replays to the same trace is the replay tests' to show.) Each key is typed once
// the picture shows that the one before has acted.
#include "common/child_process.h"
#include "common/config_folder.h"
#include "common/file_bytes.h"
#include "e2e/window_shot_support.h"
#include "e2e/x11_window_support.h"

#include "replay/replay_file.h"
#include "replay/run_link.h"
#include "runtime/version.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <thread>

namespace fs = std::filesystem;

namespace {

class CommandLineE2E : public ::testing::Test {
protected:
    // The program's config folder is the test's working folder.
    void SetUp() override {
        folder_ = MakeConfigFolder("e2e-options");
        ASSERT_FALSE(folder_.empty());
    }
    void TearDown() override { RemoveConfigFolder(folder_); }

    // The program in the test's folder, standard error kept apart in errors.txt.
    ChildResult Run(const std::vector<std::string>& args, std::vector<std::string> env = {}) {
        ProgramRun run;
        run.args = {"/bin/sh", "-c", "exec \"$@\" 2>errors.txt", "sh", SKIDDLEWICK_BINARY};
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

// The screen a picture shows, told by two pixels of the game's 640 x 480 screen wherever the
// window's size puts it: the title and OPTIONS share their grey in the bottom-right corner, and
// only the title draws its name over the grey at (85, 78).
enum class Screen { Other, Title, Options };

Screen ScreenShown(const Shot& shot) {
    const int scale = std::min(shot.width / 640, shot.height / 480);
    if (scale == 0)
        return Screen::Other;
    const auto at = [&](int x, int y) {
        return shot.At((shot.width - 640 * scale) / 2 + x * scale,
                       (shot.height - 480 * scale) / 2 + y * scale);
    };
    const Rgb grey{170, 170, 170};
    if (at(639, 479) != grey)
        return Screen::Other;
    return at(85, 78) == grey ? Screen::Options : Screen::Title;
}

// Waits until the whole window shows `screen`.
bool AwaitScreen(const GameWindow& window, const fs::path& file, Screen screen) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    while (std::chrono::steady_clock::now() < deadline) {
        const Shot shot = Screenshot(window.id, file);
        if (shot.width == window.width && shot.height == window.height &&
            ScreenShown(shot) == screen)
            return true;
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

    const ChildResult damaged =
        Run({"--play", "https://example.org/#run=dmVyc2lvbiAyLjEK"}, {"DISPLAY"});
    EXPECT_EQ(damaged.status, 2);
    EXPECT_EQ(Errors(), "skiddlewick: the link is damaged: it does not hold a recording\n");
    // A link of some 90 kB that inflates past the most a script may be.
    const ChildResult huge =
        Run({"--play", EncodeRunLink(std::string(kReplayFileLimit + 1, '\n'))}, {"DISPLAY"});
    EXPECT_EQ(huge.status, 2);
    EXPECT_EQ(Errors(), "skiddlewick: the link holds more than 64 MiB, the most a script may be\n");
}

TEST_F(CommandLineE2E, RunsListsTheKeptRunsNewestFirstWithoutAWindow) {
    const fs::path state = folder_ / "state";
    const fs::path runs = state / "skiddlewick" / "runs";
    const std::vector<std::string> env = {"DISPLAY", "TZ=UTC", "XDG_STATE_HOME=" + state.string()};
    const ChildResult none = Run({"--runs"}, env);
    EXPECT_EQ(none.status, 0);
    EXPECT_EQ(none.out, "No kept runs in '" + runs.string() + "'.\n");

    fs::create_directories(runs);
    WriteFile(runs / "20261208-090312.replay",
              "version 2.1\n# kept 2026-12-08T09:03:12Z\nstart\nstep 5400\n"
              "check 5400 0123456789abcdef\n# score 1234 level 3 updates 5400\n");
    // Killed before its ending, and a summary that is not one.
    WriteFile(runs / "20261208-101500.replay",
              "version 2.1\n# kept 2026-12-08T10:15:00Z\nstart\nstep 60\n");
    WriteFile(runs / "20261208-101500-2.replay", "start\n# score \x1b[31m level 1 updates 2\n");
    WriteFile(runs / "notes.txt", "# kept 2026-12-08T11:00:00Z\n");
    const ChildResult listed = Run({"--runs"}, env);
    EXPECT_EQ(listed.status, 0);
    EXPECT_EQ(listed.out, "?                 score ?  level ?      ?  " +
                              (runs / "20261208-101500-2.replay").string() +
                              "\n"
                              "2026-12-08 10:15  score ?  level ?      ?  " +
                              (runs / "20261208-101500.replay").string() +
                              "\n"
                              "2026-12-08 09:03  score 1234  level 3   1:30  " +
                              (runs / "20261208-090312.replay").string() + "\n");
    EXPECT_EQ(Errors(), "");
}

TEST_F(CommandLineE2E, FullscreenHoldsForItsRunAndIsNotSaved) {
    TestDisplay display;
    ASSERT_TRUE(display.ok()) << "needs a display (Xvfb)";
    WriteFile(folder_ / ".zibbetstate", "FullScreen=0");
    display.WatchShownWindows();
    auto [pid, out, window] = StartWithWindow(
        display, {{SKIDDLEWICK_BINARY, "--fullscreen"}, {"ALSOFT_DRIVERS=null"}, folder_}, 20, 640);
    ASSERT_TRUE(window.has_value()) << "no full-screen window appeared";
    ASSERT_TRUE(AwaitScreen(*window, folder_ / "shot.png", Screen::Title))
        << "the title never appeared";
    ExpectOnlyFullScreenShown(display);
    // OPTIONS, then back, which saves the settings; then Escape on the title ends the program.
    Keys(*window, "Down Return");
    ASSERT_TRUE(AwaitScreen(*window, folder_ / "shot.png", Screen::Options))
        << "OPTIONS did not open";
    Keys(*window, "Escape");
    ASSERT_TRUE(AwaitScreen(*window, folder_ / "shot.png", Screen::Title))
        << "Escape did not leave OPTIONS";
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
    ASSERT_TRUE(AwaitScreen(*window, folder_ / "shot.png", Screen::Title))
        << "the title never appeared";
    ExpectOnlyFullScreenShown(display);
    display.SendClose(window->id);
    EXPECT_EQ(WaitProgram(pid, out, 20).status, 0);
}

TEST_F(CommandLineE2E, RecordWritesARecordingThatPlayShowsToItsEnd) {
    TestDisplay display;
    ASSERT_TRUE(display.ok()) << "needs a display (Xvfb)";
    const std::string recording = (folder_ / "game.replay").string();
    const std::string stateHome = "XDG_STATE_HOME=" + (folder_ / "state").string();
    // Recorded at half speed: fewer updates a second, each the same, so the replays keep in sync.
    WriteFile(folder_ / ".zibbetstate", "GameSpeed=50");
    auto [pid, out, window] = StartWithWindow(
        display,
        {{SKIDDLEWICK_BINARY, "--record", recording}, {"ALSOFT_DRIVERS=null", stateHome}, folder_},
        20);
    ASSERT_TRUE(window.has_value()) << "no window appeared";
    ASSERT_TRUE(AwaitScreen(*window, folder_ / "shot.png", Screen::Title))
        << "the title never appeared";
    // Down to OPTIONS and back up to START GAME, which starts a game: the program is closed in its
    // fade.
    Keys(*window, "Down Up Return");
    ASSERT_TRUE(AwaitScreen(*window, folder_ / "shot.png", Screen::Other)) << "no game started";
    display.SendClose(window->id);
    const ChildResult recorded = WaitProgram(pid, out, 20);
    ASSERT_EQ(recorded.status, 0) << recorded.out;
    const std::string text = ReadFile(recording);
    EXPECT_EQ(text.rfind("version ", 0), 0u) << text;
    EXPECT_NE(text.find("\npress 40\n"), std::string::npos) << text;
    EXPECT_NE(text.find(",GameSpeed=50,"), std::string::npos) << text;

    // Shown in its own window to the end, every check compared, and the player's settings file
    // left alone.
    const ChildResult played = Run({"--play", recording});
    EXPECT_EQ(played.status, 0) << Errors() << played.out;
    EXPECT_EQ(Errors(), "");
    EXPECT_EQ(ReadFile(folder_ / ".zibbetstate"), "GameSpeed=50");

    // The game is kept too, from START GAME on: listed, and shown from a link to the end.
    const ChildResult listed = Run({"--runs"}, {"DISPLAY", stateHome});
    EXPECT_EQ(listed.status, 0);
    const size_t path = listed.out.find((folder_ / "state").string());
    ASSERT_NE(path, std::string::npos) << listed.out;
    const std::string kept = ReadFile(listed.out.substr(path, listed.out.find('\n') - path));
    EXPECT_NE(kept.find("\ncarry 0 0 0 - 1 0 0 0 0 0 0\n"), std::string::npos) << kept;
    const ChildResult shown = Run({"--play", "https://example.org/" + EncodeRunLink(kept)});
    EXPECT_EQ(shown.status, 0) << Errors() << shown.out;
    EXPECT_EQ(Errors(), "");
}

} // namespace
