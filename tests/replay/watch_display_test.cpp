// A recording shown as --play shows it, through the real frame pass on a test clock: the game
// plays with the recording's settings and stays in sync with its checks, while the window, the
// volumes, the pace and the music and full-screen keys are the watcher's own settings, whose file
// the showing leaves as it was.
#include "common/child_process.h"
#include "common/file_bytes.h"
#include "support/data_beside_program.h"
#include "support/driven_host.h"

#include "audio/gxtk_audio.h"
#include "game/tazzle.h"
#include "host/app.h"
#include "host/errors.h"
#include "replay/replay_script.h"
#include "replay/replay_viewer.h"
#include "replay/trace_line.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <sstream>
#include <utility>

namespace fs = std::filesystem;

namespace {

const fs::path kTool = fs::path(SKIDDLEWICK_BINARY).parent_path() / "skiddlewick-replay";

// A recorder who plays full screen at 1024 x 768, loud, unthrottled, on hard, with the left
// arrow as their left key and K as their music key: they switch their music off, visit the
// options (leaving them saves their settings), then walk left on the road.
constexpr const char* kRecording =
    "state ControlLeft=37,ControlMusic=75,Difficulty=2,EffectsVolume=100,FrameRateThrottle=0,"
    "FullScreen=1,MusicVolume=100,ResolutionHeight=768,ResolutionWidth=1024\n"
    "boot\n"
    "press 75\nstep 1\nrelease 75\n"
    "press 40\nstep 1\nrelease 40\npress 13\nuntil 6\nrelease 13\n"
    "press 27\nuntil 2\nrelease 27\n"
    "newgame 42\nuntil 3\n"
    "press 37\nstep 12\nrelease 37\nstep 60\n";

// The watcher plays windowed and quieter, on easy, with N as their music key.
constexpr const char16_t* kWatcherSettings =
    u"ControlMusic=78,Difficulty=0,EffectsVolume=60,FrameRateThrottle=1,FullScreen=0,"
    u"MusicVolume=30";

float Gain(int channel) {
    float gain = -1;
    alGetSourcef(gxtkAudio::audio->channels[channel].source, AL_GAIN, &gain);
    return gain;
}

// One line of what the watcher meets: "what: how it is".
void Say(const char* what, const std::string& how) {
    std::printf("%s: %s\n", what, how.c_str());
}

std::string Window(DrivenHost& host) {
    int width = 0, height = 0;
    glfwGetWindowSize(host.GetGLFWwindow(), &width, &height);
    const bool full = glfwGetWindowMonitor(host.GetGLFWwindow()) != nullptr;
    return std::to_string(width) + " x " + std::to_string(height) +
           (full ? ", full screen" : ", windowed");
}

std::string Volume(int channel) {
    char text[16];
    std::snprintf(text, sizeof text, "%.2f", Gain(channel));
    return text;
}

// The watcher's key pressed in one pass and let go in the next.
void Tap(DrivenHost& host, int glfwKey) {
    host.Pass([&] { host.Key(glfwKey, GLFW_PRESS); });
    host.Pass([&] { host.Key(glfwKey, GLFW_RELEASE); });
}

// Shows `script` in this (child) process with the watcher's settings file in place, saying what
// the watcher sees and hears. The script's check comes after the watcher's keys: once the
// showing has gone past it, the game has played in sync all along.
void Watch(const std::string& script, std::int64_t checkedUpdate) {
    LinkDataBesideTestProgram();
    setenv("ALSOFT_DRIVERS", "null", 1);
    // Wherever the host keeps the settings file, it is the test folder's.
    setenv("HOME", fs::current_path().c_str(), 1);
    setenv("XDG_CONFIG_HOME", fs::current_path().c_str(), 1);
    if (!glfwInit())
        std::_Exit(10);
    ReplayParseResult parsed = ParseReplayScript(script);
    if (!parsed.script)
        std::_Exit(11);
    DrivenHost host;
    if (host.SaveState(kWatcherSettings) != 0)
        std::_Exit(12);
    ReplayViewer viewer(std::move(*parsed.script));
    host.Start(viewer);
    if (!host.PassUntil([] { return bb_tazzle_mainState == c_MainState::Road; }))
        std::_Exit(13);
    Say("window", Window(host));
    Say("volumes", "music " + Volume(gxtkAudio::MUSIC_CHANNEL) + ", effects " + Volume(0));
    Say("pace", std::to_string(bb_app__updateRate) + " updates a second");
    Tap(host, GLFW_KEY_N);
    const std::string off = Volume(gxtkAudio::MUSIC_CHANNEL);
    Tap(host, GLFW_KEY_N);
    Say("music key", off + " then " + Volume(gxtkAudio::MUSIC_CHANNEL));
    Tap(host, GLFW_KEY_F11);
    Say("full-screen key", Window(host));
    if (!host.PassUntil([&] { return viewer.Updates() > checkedUpdate; }))
        std::_Exit(14);
    Say("in sync at update", std::to_string(checkedUpdate));
    Say("settings file", host.LoadState() == kWatcherSettings ? "as it was" : "changed");
    bb_host_Exit(0);
}

// The trace of the recording as the replay tool plays it: with its own settings, as they stand.
std::string ToolTrace(const fs::path& script) {
    ProgramRun run;
    run.args = {kTool.string(), script.string()};
    run.env = {"ALSOFT_DRIVERS=null"};
    run.cwd = script.parent_path().string();
    const ChildResult result = RunProgram(run, 600);
    return result.status == 0 ? result.out : "";
}

// The recording with a check of the tool's last trace line appended, then more steps than the
// test will watch; the update checked.
std::pair<std::string, std::int64_t> WithCheck(const std::string& recording,
                                               const std::string& trace) {
    const size_t end = trace.size() - 1; // the last newline
    const size_t start = trace.rfind('\n', end - 1) + 1;
    const std::int64_t updates = std::count(trace.begin(), trace.end(), '\n');
    char check[64];
    std::snprintf(check, sizeof check, "check %lld %016llx\nstep 600\n",
                  static_cast<long long>(updates),
                  static_cast<unsigned long long>(TraceHash(trace.substr(start, end - start))));
    return {recording + check, updates};
}

// One showing for the whole suite (it takes the game from its start to the road): what the
// watcher met, by line.
class WatchTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        std::string pattern = (fs::temp_directory_path() / "watch-test-XXXXXX").string();
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        const fs::path folder = pattern;
        WriteFile(folder / "game.replay", kRecording);
        const std::string trace = ToolTrace(folder / "game.replay");
        ASSERT_FALSE(trace.empty());
        const auto [script, update] = WithCheck(kRecording, trace);
        checkedUpdate_ = update;
        const fs::path previous = fs::current_path();
        fs::current_path(folder);
        const ChildResult shown = RunInChild([&] { Watch(script, update); }, 300);
        fs::current_path(previous);
        fs::remove_all(folder);
        status_ = shown.status;
        std::istringstream lines(shown.out);
        for (std::string line; std::getline(lines, line);) {
            const size_t colon = line.find(": ");
            if (colon != std::string::npos)
                met_[line.substr(0, colon)] = line.substr(colon + 2);
        }
    }

    static inline int status_ = -1;
    static inline std::int64_t checkedUpdate_ = 0;
    static inline std::map<std::string, std::string> met_;
};

TEST_F(WatchTest, ARecordingMadeFullScreenIsShownInTheWatchersWindowAtTheirVolumes) {
    EXPECT_EQ(met_["window"], "640 x 480, windowed");
    // The recorder's music key switched their music off; the watcher's stays on.
    EXPECT_EQ(met_["volumes"], "music 0.30, effects 0.60");
    EXPECT_EQ(met_["pace"], "60 updates a second");
}

TEST_F(WatchTest, TheWatchersOwnMusicAndFullScreenKeysWorkAndTheShowingGoesOnInSync) {
    EXPECT_EQ(met_["music key"], "0.00 then 0.30");
    EXPECT_TRUE(met_["full-screen key"].ends_with(", full screen")) << met_["full-screen key"];
    EXPECT_EQ(met_["in sync at update"], std::to_string(checkedUpdate_));
    EXPECT_EQ(status_, 0);
}

TEST_F(WatchTest, TheWatchersSettingsFileIsUnchangedAfterwards) {
    // The recording left its options, which saves, and the watcher switched to full screen.
    EXPECT_EQ(met_["settings file"], "as it was");
}

} // namespace
