// A game recorded through the real host's frame pass (window key events with their repeats, a
// focus loss, a finger, a joystick, loads in flight, passes that run several updates at once)
// replays in skiddlewick-replay to the same trace, every check in sync; with one key press taken
// out of the recording, the replay stops at the first check after it. Every game of a session is
// kept, each replaying in sync from a fresh start of the game whatever the games before it left
// behind.
#include "common/child_process.h"
#include "common/file_bytes.h"
#include "support/data_beside_program.h"
#include "support/driven_host.h"

#include "game/tazzle.h"
#include "host/errors.h"
#include "host/game_session.h"
#include "replay/replay_recorder.h"
#include "replay/run_folder.h"
#include "replay/run_keeper.h"
#include "replay/trace_line.h"
#include "road/road_screen.h"
#include "screens/title_screen.h"
#include "ski/ski_screen.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <sstream>

#include <sys/resource.h>

namespace fs = std::filesystem;

namespace {

const fs::path kTool = fs::path(SKIDDLEWICK_BINARY).parent_path() / "skiddlewick-replay";
constexpr double kPeriod = 1.0 / 60;

// One joystick, plugged in from the start: two sticks and eight buttons.
class TestJoystick : public BBJoystickSource {
public:
    bool Present(int jid) override { return jid == 0 && plugged; }
    const float* Axes(int jid, int* count) override {
        *count = 4;
        return Present(jid) ? axes : nullptr;
    }
    const unsigned char* Buttons(int jid, int* count) override {
        *count = 8;
        return Present(jid) ? buttons : nullptr;
    }
    bool plugged = true;
    float axes[4] = {0, 0, 0, 0};
    unsigned char buttons[8] = {};
};

// The recorder, with the trace line of every update it sees kept beside it.
class TracingSession : public BBGameSession {
public:
    explicit TracingSession(BBGameSession& recorder) : _recorder(recorder) {}
    bool BeforeUpdate() override { return _recorder.BeforeUpdate(); }
    void InputPolled() override {
        _recorder.InputPolled();
        _keys = KeysDown();
        if (inUpdate)
            inUpdate(_updates + 1);
    }
    void AfterUpdate() override {
        _recorder.AfterUpdate();
        trace += TraceLine(++_updates, _keys) + "\n";
    }
    std::int64_t Updates() const { return _updates; }
    bool PassKeyEvent(int event, int data) override { return _recorder.PassKeyEvent(event, data); }
    bool PassMouseEvent(int event, int data, float x, float y) override {
        return _recorder.PassMouseEvent(event, data, x, y);
    }
    bool PassFocus(bool focused) override { return _recorder.PassFocus(focused); }
    int Clock(int hostMillisecs) override { return _recorder.Clock(hostMillisecs); }
    int CountJoysticks(bool update) override { return _recorder.CountJoysticks(update); }
    bool PollJoystick(int port, std::span<float> joyx, std::span<float> joyy, std::span<float> joyz,
                      std::span<bool> buttons) override {
        return _recorder.PollJoystick(port, joyx, joyy, joyz, buttons);
    }
    void Close() override { _recorder.Close(); }
    void CloseOnSignal() override { _recorder.CloseOnSignal(); }
    int ExitStatus(int status) const override { return _recorder.ExitStatus(status); }

    std::string trace;
    // Called inside each update with its number, as the game's own code would run.
    std::function<void(std::int64_t)> inUpdate;

private:
    BBGameSession& _recorder;
    std::int64_t _updates = 0;
    std::vector<int> _keys;
};

// The game's data, no sound device and the window system, for a game in this (child) process.
void PrepareGameInChild() {
    LinkDataBesideTestProgram();
    setenv("ALSOFT_DRIVERS", "null", 1);
    if (!glfwInit())
        std::_Exit(10);
}

bool PassUntil(DrivenHost& host, int mainState) {
    return host.PassUntil([mainState] { return bb_tazzle_mainState == mainState; });
}

void Passes(DrivenHost& host, int count) {
    for (int pass = 0; pass < count; ++pass)
        host.Pass();
}

// From the start to the road: the five asset groups load on their threads across the first
// passes, then START GAME, and the road's sounds load while its fade runs.
void StartAGame(DrivenHost& host) {
    if (!PassUntil(host, c_MainState::Title))
        std::_Exit(11);
    host.Pass([&] { host.Key(GLFW_KEY_ENTER, GLFW_PRESS); });
    host.Pass([&] { host.Key(GLFW_KEY_ENTER, GLFW_RELEASE); });
    if (!PassUntil(host, c_MainState::Road))
        std::_Exit(12);
}

// Plays a short game in this (child) process: game.replay and recorded.trace in the working
// folder. Ends the program as quitting does, through bb_host_Exit, which closes the recording.
void RecordAGame() {
    PrepareGameInChild();
    DrivenHost host;
    TestJoystick joystick;
    host.SetJoystickSource(&joystick);
    std::string error;
    std::unique_ptr<ReplayRecorder> recorder = ReplayRecorder::Open("game.replay", error);
    TracingSession tracing(*recorder);
    host.Start(tracing);
    StartAGame(host);
    Passes(host, 30);
    host.Pass([&] { host.Key(GLFW_KEY_I, GLFW_PRESS); });
    for (int pass = 0; pass < 12; ++pass)
        host.Pass([&] { host.Key(GLFW_KEY_I, GLFW_REPEAT); });
    // A slow frame: four updates in one pass, one render.
    host.Pass([&] { host.now += 3.5 * kPeriod; });
    host.Pass([&] { host.Key(GLFW_KEY_I, GLFW_RELEASE); });
    Passes(host, 10);
    // The window loses its focus: the game pauses, and no update runs until it is back.
    host.Pass([&] { host.ApplyFocus(false); });
    Passes(host, 5);
    host.Pass([&] { host.ApplyFocus(true); });
    Passes(host, 20);
    // A finger on the window, as a page's touch screen gives it: put down, moved, lifted.
    host.Pass([&] { BBGame::_game->TouchEvent(BBEVENT_TOUCHDOWN, 0, 100, 200); });
    Passes(host, 5);
    host.Pass([&] { BBGame::_game->TouchEvent(BBEVENT_TOUCHMOVE, 0, 300, 220); });
    Passes(host, 5);
    host.Pass([&] { BBGame::_game->TouchEvent(BBEVENT_TOUCHUP, 0, 0, 0); });
    Passes(host, 5);
    host.Pass([&] { host.Key(GLFW_KEY_H, GLFW_PRESS); });
    host.Pass([&] { host.Key(GLFW_KEY_H, GLFW_RELEASE); });
    // The joystick's stick to the right and its first button (raw button 1) held a while, then
    // it is unplugged.
    joystick.axes[0] = 1;
    Passes(host, 20);
    joystick.buttons[1] = GLFW_PRESS;
    Passes(host, 10);
    joystick.buttons[1] = GLFW_RELEASE;
    Passes(host, 10);
    host.Pass([&] {
        joystick.plugged = false;
        BBGlfwGame::OnJoysticksChanged();
    });
    Passes(host, 70);
    WriteFile("recorded.trace", tracing.trace);
    bb_host_Exit(0);
}

struct Replay {
    int status = -1;
    std::string trace;
    std::string errors;
};

Replay RunTool(const fs::path& script) {
    ProgramRun run;
    run.args = {"/bin/sh", "-c", "exec \"$0\" \"$1\" 2>errors.txt", kTool.string(),
                script.string()};
    run.env = {"ALSOFT_DRIVERS=null"};
    run.cwd = script.parent_path().string();
    ChildResult result = RunProgram(run, 600);
    return {result.timedOut ? -2 : result.status, result.out,
            ReadFile(script.parent_path() / "errors.txt")};
}

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream stream(text);
    for (std::string line; std::getline(stream, line);)
        lines.push_back(line);
    return lines;
}

// The first line where two traces part, for the failure message; empty when they are the same.
std::string FirstDifference(const std::string& replayed, const std::string& recorded) {
    const std::vector<std::string> a = Lines(replayed), b = Lines(recorded);
    for (size_t i = 0; i < std::max(a.size(), b.size()); ++i) {
        const std::string left = i < a.size() ? a[i] : "(none)";
        const std::string right = i < b.size() ? b[i] : "(none)";
        if (left != right)
            return "line " + std::to_string(i + 1) + ", replayed:\n" + left + "\nrecorded:\n" +
                   right;
    }
    return {};
}

class RecordTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::string pattern = (fs::temp_directory_path() / "record-test-XXXXXX").string();
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        folder_ = pattern;
    }
    void TearDown() override { fs::remove_all(folder_); }
    // `body` in a child process working in the test's folder.
    ChildResult RunInFolder(const std::function<void()>& body) {
        const fs::path previous = fs::current_path();
        fs::current_path(folder_);
        const ChildResult result = RunInChild(body, 300);
        fs::current_path(previous);
        return result;
    }
    fs::path folder_;
};

TEST_F(RecordTest, ARecordedGameReplaysToTheSameTraceAndATakenOutKeyIsFoundAtTheNextCheck) {
    const ChildResult recorded = RunInFolder(RecordAGame);
    ASSERT_EQ(recorded.status, 0) << recorded.out;
    const std::string recording = ReadFile(folder_ / "game.replay");
    for (const char* piece :
         {"\nclock ", "\npress 73\n", "\nsuspend\n", "\njoy 0 1 -0 0 ", "\npress 256\n",
          "\njoy 0 off\n", "\ncheck 60 ", "\npress 384\n", "\nrelease 384\n"})
        EXPECT_NE(recording.find(piece), std::string::npos) << piece << " missing in\n"
                                                            << recording;

    const Replay replay = RunTool(folder_ / "game.replay");
    EXPECT_EQ(replay.status, 0) << replay.errors;
    EXPECT_EQ(replay.errors, "");
    EXPECT_EQ(FirstDifference(replay.trace, ReadFile(folder_ / "recorded.trace")), "");

    // Without the walk left, the walker's place differs from the first check after it on. The
    // press reaches the game before the update after the steps written above it.
    std::vector<std::string> lines = Lines(recording);
    std::string tampered;
    int update = 0;
    int pressUpdate = 0;
    int expectedLine = 0;
    int expectedUpdate = 0;
    int written = 0;
    for (const std::string& line : lines) {
        if (line == "press 73" && pressUpdate == 0) {
            pressUpdate = update + 1;
            continue;
        }
        tampered += line + "\n";
        ++written;
        if (line.rfind("step ", 0) == 0)
            update += std::stoi(line.substr(5));
        if (pressUpdate && !expectedLine && line.rfind("check ", 0) == 0 && update >= pressUpdate) {
            expectedLine = written;
            expectedUpdate = update;
        }
    }
    ASSERT_GT(expectedLine, 0);
    WriteFile(folder_ / "tampered.replay", tampered);
    const Replay diverged = RunTool(folder_ / "tampered.replay");
    EXPECT_EQ(diverged.status, 3);
    EXPECT_EQ(diverged.errors, "skiddlewick-replay: line " + std::to_string(expectedLine) +
                                   ": the game differs from the recording at update " +
                                   std::to_string(expectedUpdate) + "\n");
    EXPECT_EQ(Lines(diverged.trace).size(), static_cast<size_t>(expectedUpdate));
}

// Records a game into game.replay until the road has run a while and hands it to `stop`, which
// ends the program between two updates (or sets `inUpdate` to end it inside one). The trace of
// every update that ran is in recorded.trace first.
void RecordUntil(const std::function<void(DrivenHost&, TracingSession&)>& stop) {
    PrepareGameInChild();
    DrivenHost host;
    std::string error;
    std::unique_ptr<ReplayRecorder> recorder = ReplayRecorder::Open("game.replay", error);
    if (!recorder)
        std::_Exit(13);
    TracingSession tracing(*recorder);
    host.Start(tracing);
    StartAGame(host);
    host.Pass([&] { host.Key(GLFW_KEY_I, GLFW_PRESS); });
    Passes(host, 7);
    stop(host, tracing);
    WriteFile("recorded.trace", tracing.trace);
    bb_host_Exit(0);
}

std::string LastLine(const std::string& text) {
    const std::vector<std::string> lines = Lines(text);
    return lines.empty() ? "" : lines.back();
}

TEST_F(RecordTest, ARecordingEndedByASignalReplaysInSyncToItsLastUpdateAndEndsWithItsCheck) {
    const struct {
        const char* name;
        int signal;
        int status; // when the signal does not end the program itself
        bool inUpdate;
    } stops[] = {
        {"abort() in an update", SIGABRT, -1, true},
        {"SIGBUS", SIGBUS, -1, false},
        {"Ctrl-C", SIGINT, -1, false},
        {"SIGTERM", SIGTERM, -1, false},
        {"SIGHUP", SIGHUP, -1, true},
        {"SIGSEGV in an update", SIGSEGV, 255, true},
    };
    const fs::path previous = fs::current_path();
    for (const auto& stop : stops) {
        fs::remove(folder_ / "recorded.trace");
        fs::current_path(folder_);
        const ChildResult recorded = RunInChild(
            [&] {
                RecordUntil([&](DrivenHost& host, TracingSession& tracing) {
                    if (!stop.inUpdate) {
                        WriteFile("recorded.trace", tracing.trace);
                        kill(getpid(), stop.signal);
                        return;
                    }
                    // The update it arrives in has begun and will not end.
                    const std::int64_t last = tracing.Updates() + 2;
                    tracing.inUpdate = [&, last](std::int64_t update) {
                        if (update <= last)
                            return;
                        WriteFile("recorded.trace", tracing.trace);
                        if (stop.signal == SIGABRT)
                            std::abort();
                        bb_host_InstallSignalHandlers();
                        raise(stop.signal);
                    };
                    Passes(host, 3);
                });
            },
            300);
        fs::current_path(previous);
        if (stop.status >= 0)
            EXPECT_EQ(recorded.status, stop.status) << stop.name;
        else
            EXPECT_EQ(recorded.signal, stop.signal) << stop.name << ", status " << recorded.status;

        const std::string trace = ReadFile(folder_ / "recorded.trace");
        const size_t updates = Lines(trace).size();
        ASSERT_GT(updates, 100u) << stop.name;
        const std::string recording = ReadFile(folder_ / "game.replay");
        EXPECT_EQ(LastLine(recording).rfind("check " + std::to_string(updates) + " ", 0), 0u)
            << stop.name << ":\n"
            << recording;
        const Replay replay = RunTool(folder_ / "game.replay");
        EXPECT_EQ(replay.status, 0) << stop.name << ": " << replay.errors;
        EXPECT_EQ(FirstDifference(replay.trace, trace), "") << stop.name;
    }
}

// `errors` is one line, starting with `start` and telling `reason`.
void ExpectOneLine(const std::string& errors, const std::string& start, const std::string& reason) {
    EXPECT_EQ(errors.rfind(start, 0), 0u) << errors;
    EXPECT_EQ(errors.find('\n'), errors.size() - 1) << errors;
    EXPECT_NE(errors.find(reason), std::string::npos) << errors;
}

TEST_F(RecordTest, AFullDiskIsReportedOnceAndTheRecordingStopsAtAWholeUpdate) {
    const ChildResult recorded = RunInFolder([] {
        if (!std::freopen("errors.txt", "w", stderr))
            std::_Exit(14);
        RecordUntil([](DrivenHost& host, TracingSession&) {
            // Room for a few lines more: the game goes on past them.
            const rlimit limit{fs::file_size("game.replay") + 40, RLIM_INFINITY};
            setrlimit(RLIMIT_FSIZE, &limit);
            Passes(host, 200);
            const rlimit none{RLIM_INFINITY, RLIM_INFINITY};
            setrlimit(RLIMIT_FSIZE, &none);
        });
    });
    EXPECT_EQ(recorded.status, 1);
    const std::string errors = ReadFile(folder_ / "errors.txt");
    const std::string start = "skiddlewick: writing the recording 'game.replay' failed at update ";
    ExpectOneLine(errors, start, "File too large; the game goes on, the recording ends there");
    const size_t stoppedAt = std::stoul(errors.substr(start.size()));

    const Replay replay = RunTool(folder_ / "game.replay");
    EXPECT_EQ(replay.status, 0) << replay.errors;
    EXPECT_EQ(Lines(replay.trace).size(), stoppedAt);
    const std::string trace = ReadFile(folder_ / "recorded.trace");
    EXPECT_EQ(trace.substr(0, replay.trace.size()), replay.trace);
    EXPECT_GT(Lines(trace).size(), stoppedAt + 100);
}

// Each pass with one key or button event, or with `events`.
void Tap(DrivenHost& host, int glfwKey, int action) {
    host.Pass([&] { host.Key(glfwKey, action); });
}

void TitleMenu(DrivenHost& host) {
    if (!host.PassUntil([] { return bb_title_MenuTakesInput(); }))
        std::_Exit(11);
}

void Road(DrivenHost& host) {
    if (!PassUntil(host, c_MainState::Road))
        std::_Exit(12);
}

void LeaveRoad(DrivenHost& host) {
    Tap(host, GLFW_KEY_ESCAPE, GLFW_PRESS);
    Tap(host, GLFW_KEY_ESCAPE, GLFW_RELEASE);
    TitleMenu(host);
}

// Three games in one session, kept in runs/ of the working folder, each begun with something the
// title's menu or the input held before it decides: were any of it not carried into the kept run,
// its replay would take another line of the menu or differ at its checks.
void KeepThreeGames() {
    PrepareGameInChild();
    DrivenHost host;
    TestJoystick joystick;
    host.SetJoystickSource(&joystick);
    RunKeeper keeper("runs");
    host.Start(keeper);
    TitleMenu(host);
    Passes(host, 10);

    // START GAME clicked: its line pressed in one update, let go over it (which chooses it) in the
    // next.
    host.Pass([&] { host.Cursor(320, 24); });
    host.Pass([&] { host.Button(0, true, 320, 24); });
    host.Pass([&] { host.Button(0, false, 320, 24); });
    Road(host);
    Passes(host, 40);
    LeaveRoad(host);
    // What a better game would have left: a best score, worn skis, and the road's and the slope's
    // fields that entering them does not set again (the road's show in every line of the next).
    bb_tazzle_hiScore = 1234;
    bb_tazzle_skiDamage = 2;
    bb_tazzle_roadScreen->m_deadTimer = 97;
    bb_tazzle_roadScreen->m_nextState = c_MainState::NoMoney;
    bb_tazzle_roadScreen->m_ambulanceX = 240;
    bb_tazzle_skiScreen->m_timer = 33;
    bb_tazzle_skiScreen->m_bumped = true;
    bb_tazzle_skiScreen->m_prevSubRow = 3;

    // The pad's stick held down moves the menu to OPTIONS and is held on; up brings it back; a key
    // the game does not read (X) is held; enter, with both still held, starts the game, and the
    // stick walks the walker down.
    joystick.axes[1] = 1;
    Passes(host, 5);
    Tap(host, GLFW_KEY_UP, GLFW_PRESS);
    Tap(host, GLFW_KEY_UP, GLFW_RELEASE);
    Tap(host, GLFW_KEY_X, GLFW_PRESS);
    Passes(host, 3);
    Tap(host, GLFW_KEY_ENTER, GLFW_PRESS);
    Tap(host, GLFW_KEY_ENTER, GLFW_RELEASE);
    Road(host);
    Passes(host, 70);
    joystick.axes[1] = 0;
    Tap(host, GLFW_KEY_X, GLFW_RELEASE);
    LeaveRoad(host);

    // Down to OPTIONS, then up and enter in the same update: START GAME.
    Tap(host, GLFW_KEY_DOWN, GLFW_PRESS);
    Tap(host, GLFW_KEY_DOWN, GLFW_RELEASE);
    host.Pass([&] {
        host.Key(GLFW_KEY_UP, GLFW_PRESS);
        host.Key(GLFW_KEY_ENTER, GLFW_PRESS);
    });
    Road(host);
    Passes(host, 30);
    // The program ends in the middle of the third game.
    bb_host_Exit(0);
}

TEST_F(RecordTest, EveryGameOfASessionIsKeptAndReplaysInSyncFromAFreshStart) {
    const ChildResult kept = RunInFolder(KeepThreeGames);
    ASSERT_EQ(kept.status, 0) << kept.out;

    const std::vector<std::string> runs = KeptRuns((folder_ / "runs").string());
    ASSERT_EQ(runs.size(), 3u);
    for (const std::string& run : runs) {
        const std::string recording = ReadFile(folder_ / "runs" / run);
        const std::vector<std::string> lines = Lines(recording);
        ASSERT_GE(lines.size(), 2u);
        EXPECT_EQ(lines.back().rfind("# score ", 0), 0u) << run << ":\n" << recording;
        EXPECT_EQ(lines[lines.size() - 2].rfind("check ", 0), 0u) << run << ":\n" << recording;
        const Replay replay = RunTool(folder_ / "runs" / run);
        EXPECT_EQ(replay.status, 0) << run << ": " << replay.errors << "\n" << recording;
        EXPECT_EQ(replay.errors, "") << run;
    }
    // The second game began with the best score, the skis and the screens' fields the first left.
    const std::string second = ReadFile(folder_ / "runs" / runs[1]);
    EXPECT_NE(second.find("\ncarry 1234 2 "), std::string::npos) << second;
    EXPECT_NE(second.find(" 97 5 240 33 1 3\n"), std::string::npos) << second;
}

// One game kept by a keeper of `folder`, with `started` run right after START GAME was chosen;
// the program ends as quitting does, after some play.
void KeepOneGame(const std::string& folder, const std::function<void()>& started) {
    if (!std::freopen("errors.txt", "w", stderr))
        std::_Exit(14);
    PrepareGameInChild();
    DrivenHost host;
    RunKeeper keeper(folder);
    host.Start(keeper);
    TitleMenu(host);
    Tap(host, GLFW_KEY_ENTER, GLFW_PRESS);
    started();
    Tap(host, GLFW_KEY_ENTER, GLFW_RELEASE);
    Road(host);
    Passes(host, 200);
    const rlimit none{RLIM_INFINITY, RLIM_INFINITY};
    setrlimit(RLIMIT_FSIZE, &none);
    bb_host_Exit(0);
}

TEST_F(RecordTest, AGameThatCannotBeKeptCostsOneLineAndTheGameGoesOnToAStatusOf0) {
    WriteFile(folder_ / "file", "not a folder");
    const ChildResult noFolder = RunInFolder([] { KeepOneGame("file/runs", [] {}); });
    const std::string noFolderErrors = ReadFile(folder_ / "errors.txt");
    // Room for the run's first lines only: its writes fail a few checks in.
    const ChildResult full = RunInFolder([] {
        KeepOneGame("runs", [] {
            const rlimit limit{fs::file_size(fs::directory_iterator("runs")->path()) + 100,
                               RLIM_INFINITY};
            setrlimit(RLIMIT_FSIZE, &limit);
        });
    });

    EXPECT_EQ(noFolder.status, 0);
    EXPECT_EQ(noFolderErrors, "skiddlewick: cannot keep the games in 'file/runs': Not a directory; "
                              "the game goes on, its games are not kept\n");
    EXPECT_EQ(full.status, 0);
    ExpectOneLine(ReadFile(folder_ / "errors.txt"), "skiddlewick: keeping the run 'runs/",
                  "File too large; the game goes on, the run is kept up to there");
    const std::vector<std::string> runs = KeptRuns((folder_ / "runs").string());
    ASSERT_EQ(runs.size(), 1u);
    const Replay replay = RunTool(folder_ / "runs" / runs[0]);
    EXPECT_EQ(replay.status, 0) << replay.errors;
}

} // namespace
