// The pixel test of a walker against a vehicle, as the road runs it every update: the walker
// standing in the vehicle's see-through window (full overlap, every pixel visited), half over
// its edge, and clear of it.
#include <benchmark/benchmark.h>

#include "collision/mask.h"

namespace {

c_Mask Filled(int width, int height, int value) {
    c_Mask mask;
    mask.m_width = width;
    mask.m_height = height;
    mask.m_data.assign(width * height, value);
    return mask;
}

// A 64 x 32 vehicle, solid but for a 24-pixel-wide gap from (20, 2) down to its bottom edge.
const c_Mask& Vehicle() {
    static const c_Mask vehicle = [] {
        c_Mask mask = Filled(64, 32, 255);
        for (int y = 2; y < 32; ++y) {
            for (int x = 20; x < 44; ++x)
                mask.m_data[y * 64 + x] = 0;
        }
        return mask;
    }();
    return vehicle;
}

// A 16 x 24 walker, solid throughout.
const c_Mask& Walker() {
    static const c_Mask walker = Filled(16, 24, 255);
    return walker;
}

void Collide(benchmark::State& state, int walkerX, int walkerY, bool expected) {
    const c_Mask& walker = Walker();
    const c_Mask& vehicle = Vehicle();
    for (auto _ : state) {
        const bool hit = walker.p_CollideMask(walkerX, walkerY, &vehicle, 100, 200);
        benchmark::DoNotOptimize(hit);
        if (hit != expected)
            state.SkipWithError("unexpected result");
    }
}

void BM_CollideMask_FullOverlap(benchmark::State& state) {
    Collide(state, 124, 204, false);
}
void BM_CollideMask_PartialOverlap(benchmark::State& state) {
    Collide(state, 92, 190, true);
}
void BM_CollideMask_PartialOverlapMiss(benchmark::State& state) {
    // Sticking out below the gap: the overlap is all gap, so every overlap pixel is visited.
    Collide(state, 124, 220, false);
}
void BM_CollideMask_NoOverlap(benchmark::State& state) {
    Collide(state, 300, 200, false);
}

} // namespace

BENCHMARK(BM_CollideMask_FullOverlap);
BENCHMARK(BM_CollideMask_PartialOverlap);
BENCHMARK(BM_CollideMask_PartialOverlapMiss);
BENCHMARK(BM_CollideMask_NoOverlap);
BENCHMARK_MAIN();
