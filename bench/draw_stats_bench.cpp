// What the renderer sends to OpenGL per frame on each screen of the game: draw calls, vertices,
// primitives and batch flushes, from the renderer's own statistics. Each screen is reached in a
// fresh game driven in this process (scratch folder, hidden window) and sampled over a run of
// frames. Needs an X display.
#include <benchmark/benchmark.h>

#include "game_session.h"

#include "game/random.h"
#include "game/tazzle.h"
#include "input/key_codes.h"
#include "road/road_screen.h"
#include "text/text.h"

#include <algorithm>
#include <functional>
#include <vector>

namespace {

constexpr int kMenuUp = 38;
constexpr int kMenuDown = 40;
constexpr int kWalkLeft = 73;
constexpr int kWalkDown = 90;

// Per frame: mean draw calls, vertices, primitives and flushes, then the most draw calls and
// vertices of any one frame, then the number of frames.
enum Field { kDraws, kVertices, kPrimitives, kFlushes, kMaxDraws, kMaxVertices, kFrames, kFields };

struct Sampler {
    std::vector<double> sums = std::vector<double>(kFields, 0.0);

    void Add(const gxtkFrameStats& stats) {
        sums[kDraws] += stats.drawCalls;
        sums[kVertices] += stats.vertices;
        sums[kPrimitives] += stats.primitives;
        sums[kFlushes] += stats.TotalFlushes();
        sums[kMaxDraws] = std::max(sums[kMaxDraws], static_cast<double>(stats.drawCalls));
        sums[kMaxVertices] = std::max(sums[kMaxVertices], static_cast<double>(stats.vertices));
        sums[kFrames] += 1;
    }
    std::vector<double> Result() const {
        std::vector<double> result = sums;
        if (result[kFrames] > 0) {
            for (int field : {kDraws, kVertices, kPrimitives, kFlushes})
                result[field] /= result[kFrames];
        }
        return result;
    }
};

std::vector<double> Sample(BenchGame& game, int frames) {
    Sampler sampler;
    for (int i = 0; i < frames; ++i) {
        game.Frame();
        sampler.Add(game.Stats());
    }
    return sampler.Result();
}

bool InState(int state) {
    return bb_tazzle_mainState == state;
}

std::vector<double> Loading() {
    BenchGame game;
    Sampler sampler;
    while (bb_tazzle_mainState <= c_MainState::Loading) {
        game.Frame();
        if (InState(c_MainState::Loading) && bb_text_spectrumText->p_IsFontLoaded())
            sampler.Add(game.Stats());
    }
    return sampler.Result();
}

std::vector<double> Title() {
    BenchGame game;
    if (!game.ReachTitle())
        return {};
    return Sample(game, 120);
}

// Title, then OPTIONS (the item below START GAME), then REDEFINE KEYS (above BACK, which is
// selected on entering) when `redefine` is set.
std::vector<double> Options(bool redefine) {
    BenchGame game;
    if (!game.ReachTitle())
        return {};
    game.Tap(kMenuDown);
    game.Frame();
    game.Tap(KEY_ENTER);
    if (!game.FramesUntil([] { return InState(c_MainState::Options); }, 10))
        return {};
    if (redefine) {
        game.Tap(kMenuUp);
        game.Frame();
        game.Tap(KEY_ENTER);
        if (!game.FramesUntil([] { return InState(c_MainState::RedefineKeys); }, 10))
            return {};
    }
    return Sample(game, 60);
}

// The busiest road (sampled with its vehicles counted at the end) or the busiest slope.
std::vector<double> Busiest(bool slope) {
    BenchGame game(kBenchHardState);
    if (!BenchGoToBusiestRoad(game) || (slope && !BenchGoToBusiestSlope(game)))
        return {};
    if (slope)
        return Sample(game, 240);
    std::vector<double> result = Sample(game, 120);
    result.push_back(static_cast<double>(bb_tazzle_roadScreen->m_cars.size()));
    return result;
}

// Easy traffic, seed 1 (a crossing known to be free of hits), with no money left: down to the
// ski hire hut, which sends the player to the no-money screen.
std::vector<double> NoMoney() {
    BenchGame game("Difficulty=0");
    if (!game.ReachTitle())
        return {};
    game.Tap(KEY_ENTER);
    game.Frame();
    bb_random_Seed = 1;
    if (!game.FramesUntil([] { return InState(c_MainState::Road); }))
        return {};
    bb_tazzle_money = 0;
    game.KeyDown(kWalkLeft);
    for (int i = 0; i < 12; ++i)
        game.Frame();
    game.KeyUp(kWalkLeft);
    game.KeyDown(kWalkDown);
    if (!game.FramesUntil([] { return InState(c_MainState::NoMoney); }, 2000))
        return {};
    game.KeyUp(kWalkDown);
    for (int i = 0; i < 30; ++i)
        game.Frame();
    return Sample(game, 60);
}

void Report(benchmark::State& state, const std::function<std::vector<double>()>& screen) {
    std::vector<double> result;
    for (auto _ : state)
        result = BenchRunInChild(screen);
    if (result.size() < kFields || result[kFrames] == 0) {
        state.SkipWithError("the screen was not reached (is there a display?)");
        return;
    }
    state.counters["draws/frame"] = result[kDraws];
    state.counters["vertices/frame"] = result[kVertices];
    state.counters["primitives/frame"] = result[kPrimitives];
    state.counters["flushes/frame"] = result[kFlushes];
    state.counters["max_draws"] = result[kMaxDraws];
    state.counters["max_vertices"] = result[kMaxVertices];
    state.counters["frames"] = result[kFrames];
    if (result.size() > kFields)
        state.counters["cars"] = result[kFields];
}

void BM_Loading(benchmark::State& state) {
    Report(state, Loading);
}
void BM_Title(benchmark::State& state) {
    Report(state, Title);
}
void BM_Options(benchmark::State& state) {
    Report(state, [] { return Options(false); });
}
void BM_RedefineKeys(benchmark::State& state) {
    Report(state, [] { return Options(true); });
}
void BM_RoadBusiest(benchmark::State& state) {
    Report(state, [] { return Busiest(false); });
}
void BM_SlopeBusiest(benchmark::State& state) {
    Report(state, [] { return Busiest(true); });
}
void BM_NoMoney(benchmark::State& state) {
    Report(state, NoMoney);
}
BENCHMARK(BM_Loading)->Iterations(1)->Unit(benchmark::kSecond);
BENCHMARK(BM_Title)->Iterations(1)->Unit(benchmark::kSecond);
BENCHMARK(BM_Options)->Iterations(1)->Unit(benchmark::kSecond);
BENCHMARK(BM_RedefineKeys)->Iterations(1)->Unit(benchmark::kSecond);
BENCHMARK(BM_RoadBusiest)->Iterations(1)->Unit(benchmark::kSecond);
BENCHMARK(BM_SlopeBusiest)->Iterations(1)->Unit(benchmark::kSecond);
BENCHMARK(BM_NoMoney)->Iterations(1)->Unit(benchmark::kSecond);

} // namespace

BENCHMARK_MAIN();
