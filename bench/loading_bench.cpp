// Time from starting the five loads of the title and the road together (the font, the title and
// the game sounds, which start-up loads, and the game images with the atlas and the 34 masks,
// which START GAME loads) to all of them reported loaded, on the generated data files, with a
// hidden window's OpenGL context and the audio device, polling as the game's update does.
#include <benchmark/benchmark.h>

#include <GLFW/glfw3.h>

#include <chrono>
#include <ctime>
#include <memory>
#include <thread>

#include "audio/audio.h"
#include "collision/game_masks.h"
#include "files/stream.h"
#include "graphics/graphics.h"
#include "host/app.h"
#include "host/glfw_game.h"
#include "loading/asset_groups.h"
#include "loading/game_images.h"
#include "loading/game_sounds.h"
#include "loading/spectrum_font_images.h"
#include "loading/title_images.h"

namespace {

class DataHost : public BBGlfwGame {
public:
    String PathToFilePath(const String& path) override {
        static const String scheme = u"zibbet://data/";
        if (!path.starts_with(scheme))
            return path;
        return bb_str(SKIDDLEWICK_DATA_DIR) + u"/" + path.substr(scheme.size());
    }
};

bool AllLoaded(const c_SpectrumFontImages& font) {
    return font.p_IsLoaded() && bb_titlegraphics_titleImages->p_IsLoaded() &&
           bb_gamegraphics_gameImages->p_IsLoaded() && bb_gamesounds_gameSounds->p_IsLoaded() &&
           bb_masks_gameMasks->p_IsLoaded();
}

double ProcessCpuSeconds() {
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) / 1e9;
}

void BM_StartUpLoads(benchmark::State& state) {
    if (glfwInit() != GLFW_TRUE) {
        state.SkipWithError("no display");
        return;
    }
    glfwWindowHint(GLFW_VISIBLE, GLFW_FALSE);
    GLFWwindow* window = glfwCreateWindow(640, 480, "loading bench", nullptr, nullptr);
    if (!window) {
        state.SkipWithError("no window");
        return;
    }
    glfwMakeContextCurrent(window);
    ++glfwGraphicsSeq;
    {
        DataHost host;
        bb_app_Reset();
        bb_graphics_InstallDevice(); // the image and sound decoders, as bbInit installs them
        bb_audio_InstallDevice();
        gxtkGraphics graphics;
        gxtkAudio audio;
        bb_graphics_device = &graphics;
        bb_audio_device = &audio;
        bb_stream_Init();
        // CPU of every thread against the wall clock over the timed part: near 2 on two cores
        // when the loader threads really run side by side.
        double cpuSeconds = 0, wallSeconds = 0;
        for (auto _ : state) {
            const double cpu0 = ProcessCpuSeconds();
            const auto wall0 = std::chrono::steady_clock::now();
            bb_asyncevent_Init();
            bb_assetgroups_Init();
            bb_masks_Init();
            c_SpectrumFontImages font;
            font.p_StartLoad();
            bb_titlegraphics_titleImages->p_StartLoad();
            bb_gamegraphics_gameImages->p_StartLoad();
            bb_gamesounds_gameSounds->p_StartLoad();
            bb_masks_gameMasks->p_StartLoad();
            while (!AllLoaded(font)) {
                bb_asyncevent_UpdateAsyncEvents();
                std::this_thread::yield(); // leave the cores to the loader threads
            }
            cpuSeconds += ProcessCpuSeconds() - cpu0;
            wallSeconds +=
                std::chrono::duration<double>(std::chrono::steady_clock::now() - wall0).count();
            state.PauseTiming();
            bb_assetgroups_Init(); // textures and buffers go outside the timing
            bb_masks_Init();
            state.ResumeTiming();
        }
        state.counters["all_threads_cpu_ms"] =
            cpuSeconds * 1000 / static_cast<double>(state.iterations());
        state.counters["cpu_per_wall"] = wallSeconds > 0 ? cpuSeconds / wallSeconds : 0;
        bb_graphics_device = nullptr;
        bb_audio_device = nullptr;
    }
    glfwDestroyWindow(window);
}

} // namespace

BENCHMARK(BM_StartUpLoads)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_MAIN();
