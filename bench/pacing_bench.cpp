// Frame pacing of the real frame loop: the game runs in this process under the desktop host's own
// loop (BBGlfwGame::Run: render, swap, sleep, updates) at 60 updates a second, and the time of
// every update is taken for ten seconds from the title, through START GAME, onto the road. The
// spread is the deviation of each interval between updates from 1/60 s. Needs an X display. With
// the argument 1 the game is kept as a player's is (a RunKeeper into a scratch folder), which waits
// for the loads before each update: the road's sounds load right after START GAME.
#include <benchmark/benchmark.h>

#include "game_session.h"

#include "game/game_start.h"
#include "game/tazzle.h"
#include "host/game_session.h"
#include "host/zibbet_game.h"
#include "input/key_codes.h"
#include "loading/title_images.h"
#include "replay/run_keeper.h"
#include "screens/title_screen.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <vector>

namespace {

constexpr double kRunSeconds = 10.0;
constexpr double kPeriod = 1.0 / 60.0;

// The game with a stopwatch on its updates: from the first update on the title (all loads done)
// it records each update's time, starts a game a second later, and closes the window after ten
// seconds, which ends the frame loop.
class TimedGame : public BBZibbetGame {
public:
    std::vector<double> times;
    int roadUpdates = 0;

    void UpdateGame() override {
        const double now = GetTime();
        if (times.empty() && !OnTitle()) {
            BBZibbetGame::UpdateGame();
            return;
        }
        times.push_back(now);
        roadUpdates += bb_tazzle_mainState == c_MainState::Road ? 1 : 0;
        if (now - times.front() >= kRunSeconds)
            glfwSetWindowShouldClose(GetGLFWwindow(), GLFW_TRUE);
        if (!_started && now - times.front() >= 1.0) {
            KeyEvent(BBEVENT_KEYDOWN, KEY_ENTER);
            KeyEvent(BBEVENT_KEYUP, KEY_ENTER);
            _started = true;
        }
        BBZibbetGame::UpdateGame();
    }

private:
    static bool OnTitle() {
        return bb_tazzle_mainState == c_MainState::Title &&
               bb_titlegraphics_titleImages->p_IsLoaded();
    }
    bool _started = false;
};

// The update times of one ten-second run of the frame loop, then the number of them on the road;
// the game kept when `keep`.
std::vector<double> RunLoop(bool keep) {
    char folder[] = "/tmp/pacing-runs-XXXXXX";
    std::unique_ptr<RunKeeper> keeper;
    if (keep && mkdtemp(folder)) {
        keeper = std::make_unique<RunKeeper>(folder);
        bb_host_session = keeper.get();
    }
    std::string error;
    const std::unique_ptr<TimedGame> game = bb_gamestart_Start<TimedGame>(error);
    if (!game)
        return {};
    game->Run();
    std::vector<double> values = game->times;
    values.push_back(game->roadUpdates);
    if (keeper) {
        keeper->Close();
        std::filesystem::remove_all(folder);
    }
    return values;
}

double Percentile(std::vector<double> values, double fraction) {
    if (values.empty())
        return 0;
    std::sort(values.begin(), values.end());
    const auto index =
        static_cast<size_t>(std::ceil(fraction * static_cast<double>(values.size())));
    return values[std::min(values.size() - 1, index == 0 ? 0 : index - 1)];
}

void BM_UpdatePacing(benchmark::State& state) {
    std::vector<double> times;
    const bool keep = state.range(0) != 0;
    for (auto _ : state)
        times = BenchRunInChild([keep] { return RunLoop(keep); });
    const double roadUpdates = times.empty() ? 0 : times.back();
    if (!times.empty())
        times.pop_back();
    if (times.size() < 2) {
        state.SkipWithError("the game did not run (is there a display?)");
        return;
    }
    std::vector<double> deviations;
    int late = 0; // intervals over 1.5 periods: a frame a player would see stutter
    for (size_t i = 1; i < times.size(); ++i) {
        const double interval = times[i] - times[i - 1];
        deviations.push_back(std::fabs(interval - kPeriod) * 1000.0);
        late += interval > 1.5 * kPeriod ? 1 : 0;
    }
    const double span = times.back() - times.front();
    state.counters["updates"] = static_cast<double>(times.size());
    state.counters["updates_on_road"] = roadUpdates;
    state.counters["updates_per_s"] = static_cast<double>(times.size() - 1) / span;
    state.counters["dev_p50_ms"] = Percentile(deviations, 0.50);
    state.counters["dev_p99_ms(goal<2)"] = Percentile(deviations, 0.99);
    state.counters["dev_max_ms"] = Percentile(deviations, 1.0);
    state.counters["intervals_over_1.5_periods"] = late;
}
BENCHMARK(BM_UpdatePacing)->Arg(0)->Arg(1)->Iterations(1)->Unit(benchmark::kSecond);

} // namespace

BENCHMARK_MAIN();
