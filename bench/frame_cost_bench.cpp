// Frame cost: CPU time of one update plus one render of the busiest road scene (hard traffic at
// the level that allows the most vehicles) and the busiest slope (the course from level 5),
// against the same frames drawn from the same pictures by SDL2's 2D renderer (bench/sdl_peer.cpp).
// The game is deterministic under the bench host (its clock counts updates, loads are waited
// for), so one run records the frames' drawing calls for the peer and a second, unrecorded run
// of the same frames is timed. Every frame is finished (glFinish) inside the timing, so the
// rasteriser's threads are counted. Needs an X display.
#include <benchmark/benchmark.h>

#include "draw_recorder.h"
#include "game_session.h"

#include <GL/gl.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

constexpr int kFrames = 240;

// Steps a fresh game to the busiest road or slope; false when it was not reached.
bool ReachScene(BenchGame& game, bool slope) {
    if (!BenchGoToBusiestRoad(game))
        return false;
    return !slope || BenchGoToBusiestSlope(game);
}

// The next kFrames frames' drawing calls, written to `scenePath`; then the number of calls the
// file could not hold.
std::vector<double> RecordScene(bool slope, const std::string& scenePath) {
    BenchGame game(kBenchHardState, RecordingGraphics::Make);
    if (!ReachScene(game, slope) || !RecordingGraphics::current ||
        !RecordingGraphics::current->Record(scenePath))
        return {};
    for (int i = 0; i < kFrames; ++i)
        game.Frame();
    RecordingGraphics::current->Stop();
    return {static_cast<double>(RecordingGraphics::current->Unrecorded())};
}

// Milliseconds of CPU per update plus render of the same frames: the whole process, then the
// game's own thread.
std::vector<double> TimeScene(bool slope) {
    BenchGame game(kBenchHardState);
    if (!ReachScene(game, slope))
        return {};
    double process = 0, thread = 0;
    for (int i = 0; i < kFrames; ++i) {
        const double p0 = BenchProcessCpuSeconds();
        const double t0 = BenchThreadCpuSeconds();
        game.Update();
        game.Draw();
        glFinish();
        process += BenchProcessCpuSeconds() - p0;
        thread += BenchThreadCpuSeconds() - t0;
        game.Show();
    }
    return {process * 1000 / kFrames, thread * 1000 / kFrames};
}

// The peer's milliseconds per frame (process, thread) for the recorded scene; empty without it.
// With SKIDDLEWICK_PEER_SHOTS naming a folder, the peer's last frame is kept there as NAME.png,
// to be compared with the game's picture of the same scene.
std::vector<double> TimePeer(const std::string& scenePath, const char* name) {
#ifdef SKIDDLEWICK_SDL_PEER
    std::string command =
        std::string(SKIDDLEWICK_SDL_PEER) + " '" + scenePath + "' " + std::to_string(kFrames);
    if (const char* shots = std::getenv("SKIDDLEWICK_PEER_SHOTS"))
        command += std::string(" '") + shots + "/" + name + ".png'";
    FILE* peer = popen(command.c_str(), "r");
    if (!peer)
        return {};
    int frames = 0;
    double process = 0, thread = 0;
    const int read =
        std::fscanf(peer, "frames %d process_ms %lf thread_ms %lf", &frames, &process, &thread);
    const int status = pclose(peer);
    if (read != 3 || status != 0)
        return {};
    return {process, thread};
#else
    (void)scenePath;
    (void)name;
    return {};
#endif
}

void MeasureScene(benchmark::State& state, bool slope) {
    char name[] = "/tmp/frame-cost-scene.XXXXXX";
    const int fd = mkstemp(name);
    if (fd < 0) {
        state.SkipWithError("no scratch file");
        return;
    }
    close(fd);
    const std::string scenePath = name;
    std::vector<double> recorded, game, peer;
    for (auto _ : state) {
        recorded = BenchRunInChild([&] { return RecordScene(slope, scenePath); });
        game = BenchRunInChild([&] { return TimeScene(slope); });
        peer = TimePeer(scenePath, slope ? "slope" : "road");
    }
    std::remove(scenePath.c_str());
    if (recorded.empty() || game.size() < 2) {
        state.SkipWithError("the scene was not reached (is there a display?)");
        return;
    }
    state.counters["game_ms"] = game[0];
    state.counters["game_thread_ms"] = game[1];
    state.counters["unrecorded_calls"] = recorded[0];
    if (peer.size() < 2) {
        state.SetLabel("no SDL2 peer (SDL2 missing, or it failed)");
        return;
    }
    state.counters["sdl2_ms"] = peer[0];
    state.counters["sdl2_thread_ms"] = peer[1];
    state.counters["ratio(goal<=0.8)"] = game[0] / peer[0];
}

void BM_RoadBusiest(benchmark::State& state) {
    MeasureScene(state, false);
}
void BM_SlopeBusiest(benchmark::State& state) {
    MeasureScene(state, true);
}
BENCHMARK(BM_RoadBusiest)->Iterations(1)->Unit(benchmark::kSecond);
BENCHMARK(BM_SlopeBusiest)->Iterations(1)->Unit(benchmark::kSecond);

} // namespace

BENCHMARK_MAIN();
