// Where the time to the first title frame goes, phase by phase, inside the program's own start-up
// sequence and frame loop (the process benchmark measures the same span from outside): GLFW,
// the game's globals, the window and context, the devices, the first update (which starts every
// load), the loading updates, the update that enters the title, and the first title frame.
// Needs an X display.
#include <benchmark/benchmark.h>

#include "game_session.h"

#include "game/game_start.h"
#include "game/tazzle.h"
#include "host/zibbet_game.h"
#include "loading/title_images.h"

#include <chrono>
#include <memory>
#include <string>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

// Milliseconds at the end of each phase, from the start of the sequence.
enum Phase {
    kGlfwInit,      // GLFW, signal handlers, locale
    kGameGlobals,   // bbInit + bbMain
    kWindow,        // the 640 x 480 window and its context
    kDevices,       // StartGame: renderer, audio device
    kFirstUpdate,   // the Init state: screens created, every load started
    kTitleUpdate,   // the update that found every load done and entered the title
    kTitleFrame,    // the first title frame rendered and swapped
    kTitleUpdateMs, // how long that entering update itself took
    kLoadingUpdates,
    kPhases
};

class StartupGame : public BBZibbetGame {
public:
    explicit StartupGame(Clock::time_point start) : _start(start) {}
    std::vector<double> marks = std::vector<double>(kPhases, -1);

    void Mark(Phase phase) {
        marks[phase] = std::chrono::duration<double, std::milli>(Clock::now() - _start).count();
    }

    void Run() override {
        PrepareStart();               // as the frame loop does, beside the window's making
        SetDeviceWindow(640, 480, 6); // resizable and decorated, as the frame loop opens it
        Mark(kWindow);
        StartGame();
        Mark(kDevices);
        // The pass whose update enters the title renders its first frame right after it.
        while (marks[kTitleFrame] < 0 && !glfwWindowShouldClose(_window))
            RunPass();
    }

    void UpdateGame() override {
        const int before = bb_tazzle_mainState;
        const auto t0 = Clock::now();
        BBZibbetGame::UpdateGame();
        if (marks[kFirstUpdate] < 0) {
            Mark(kFirstUpdate);
        } else if (before == c_MainState::Loading) {
            _loadingUpdates += 1;
            if (bb_tazzle_mainState == c_MainState::Title) {
                Mark(kTitleUpdate);
                marks[kTitleUpdateMs] =
                    std::chrono::duration<double, std::milli>(Clock::now() - t0).count();
                marks[kLoadingUpdates] = _loadingUpdates;
            }
        }
    }

    void RenderGame() override {
        BBZibbetGame::RenderGame();
        if (marks[kTitleUpdate] >= 0 && marks[kTitleFrame] < 0) {
            glfwSwapBuffers(_window);
            Mark(kTitleFrame);
        }
    }

private:
    Clock::time_point _start;
    int _loadingUpdates = 0;
};

std::vector<double> RunStartup() {
    const auto start = Clock::now();
    // The game's one start, in its two halves, timed apart.
    if (!bb_host_Prepare())
        return {};
    auto game = std::make_unique<StartupGame>(start);
    game->Mark(kGlfwInit);
    std::string error;
    if (!bb_gamestart_Begin(*game, error))
        return {};
    game->Mark(kGameGlobals);
    game->Run();
    return game->marks;
}

void BM_StartupPhases(benchmark::State& state) {
    std::vector<double> marks;
    for (auto _ : state)
        marks = BenchRunInChild(RunStartup);
    if (marks.size() < kPhases || marks[kTitleFrame] < 0) {
        state.SkipWithError("the title was not reached (is there a display?)");
        return;
    }
    const char* names[] = {"glfw_init",    "game_globals", "window",     "devices",
                           "first_update", "loads_done",   "title_frame"};
    for (int phase = kGlfwInit; phase <= kTitleFrame; ++phase) {
        const double previous = phase == kGlfwInit ? 0 : marks[phase - 1];
        state.counters[std::string(names[phase]) + "_ms"] = marks[phase] - previous;
    }
    state.counters["total_ms"] = marks[kTitleFrame];
    state.counters["title_update_ms"] = marks[kTitleUpdateMs];
    state.counters["loading_updates"] = marks[kLoadingUpdates];
}
BENCHMARK(BM_StartupPhases)->Iterations(1)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
