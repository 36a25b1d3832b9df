// What drawing costs: sprites written into the renderer's batch (untransformed and transformed,
// without OpenGL's share), and whole busy frames drawn through the drawing module into a hidden
// window (run under Xvfb).
#include <benchmark/benchmark.h>

#include <GLFW/glfw3.h>

#include <cstdlib>
#include <memory>

#include "graphics/graphics.h"
#include "graphics/virtual_display.h"
#include "host/glfw_game.h"

namespace {

std::shared_ptr<gxtkSurface> Sheet(int width, int height) {
    const size_t bytes = static_cast<size_t>(width) * height * 4;
    auto* data = static_cast<unsigned char*>(std::malloc(bytes));
    for (size_t i = 0; i < bytes; ++i)
        data[i] = static_cast<unsigned char>(i * 37);
    return gxtkSurface::FromPixels(gxtkPixels(data), width, height, 4);
}

// Quads written into the batch; the batch is thrown away when full, so OpenGL never runs.
void WriteQuads(benchmark::State& state, bool transformed) {
    auto device = std::make_unique<gxtkGraphics>();
    auto sheet = Sheet(64, 64);
    device->SetAlpha(1);
    device->SetColor(255, 255, 255);
    if (transformed)
        device->SetMatrix(1.5f, 0.1f, -0.1f, 1.5f, 160, 0);
    float x = 0;
    for (auto _ : state) {
        for (int i = 0; i < gxtkGraphics::kMaxQuads; ++i) {
            device->DrawSurface2(sheet.get(), x, 12, 16, 0, 16, 16);
            x = x > 600 ? 0 : x + 3;
        }
        benchmark::DoNotOptimize(device->PendingVertices().data());
        device->DiscardBatch();
    }
    state.SetItemsProcessed(state.iterations() * gxtkGraphics::kMaxQuads);
    state.counters["quads/s"] =
        benchmark::Counter(static_cast<double>(state.iterations() * gxtkGraphics::kMaxQuads),
                           benchmark::Counter::kIsRate);
}

void BM_QuadsUntransformed(benchmark::State& state) {
    WriteQuads(state, false);
}
void BM_QuadsTransformed(benchmark::State& state) {
    WriteQuads(state, true);
}
BENCHMARK(BM_QuadsUntransformed);
BENCHMARK(BM_QuadsTransformed);

// A hidden window and context for the frame benchmark; null when there is no display.
GLFWwindow* OpenWindow(int width, int height) {
    static const bool initialised = glfwInit() == GLFW_TRUE;
    if (!initialised)
        return nullptr;
    glfwWindowHint(GLFW_VISIBLE, GLFW_FALSE);
    GLFWwindow* window = glfwCreateWindow(width, height, "graphics bench", nullptr, nullptr);
    if (window) {
        glfwMakeContextCurrent(window);
        ++glfwGraphicsSeq;
    }
    return window;
}

// A busy game frame: letterboxed virtual screen, backdrop, 400 sprites from one sheet with
// colour changes, 120 text glyphs from another, a status bar and a clipped play area.
void BM_BusyFrame(benchmark::State& state) {
    GLFWwindow* window = OpenWindow(1280, 720);
    if (!window) {
        state.SkipWithError("no display (run under xvfb-run)");
        return;
    }
    bb_graphics_Init();
    auto device = std::make_unique<gxtkGraphics>();
    bb_graphics_SetGraphicsDevice(device.get());
    bb_autofit_SetVirtualDisplay(640, 480, 1);
    auto backdrop = c_Image::m_new();
    backdrop->p_Init(Sheet(512, 384), 1, 0);
    auto sprites = c_Image::m_new();
    sprites->p_Init(Sheet(256, 32), 8, c_Image::m_CentreHandle);
    auto glyphs = c_Image::m_new();
    glyphs->p_Init2(Sheet(252, 126), 0, 0, 18, 18, 96, c_Image::m_PaddedX | c_Image::m_PaddedY,
                    nullptr, 0, 0, 252, 126);

    int drawCalls = 0;
    for (auto _ : state) {
        device->BeginRender();
        bb_graphics_BeginRender();
        bb_autofit_UpdateVirtualDisplay(true, true);
        bb_autofit_SetVScissor(64, 48, 512, 384);
        bb_graphics_DrawImage(backdrop.get(), 64, 48, 0);
        for (int i = 0; i < 400; ++i) {
            bb_graphics_SetColor(static_cast<float>(i % 3 == 0 ? 170 : 255), 255, 255);
            bb_graphics_DrawImage(sprites.get(), static_cast<float>(64 + (i * 37) % 512),
                                  static_cast<float>(48 + (i * 11) % 384), i % 8);
        }
        bb_autofit_UnsetVScissor();
        bb_graphics_SetColor(255, 255, 255);
        bb_graphics_DrawRect(64, 48, 512, 16);
        for (int i = 0; i < 120; ++i)
            bb_graphics_DrawImage(glyphs.get(), static_cast<float>(64 + (i % 32) * 16),
                                  static_cast<float>(48 + (i / 32) * 16), i % 96);
        bb_graphics_EndRender();
        device->EndRender();
        glFinish();
        drawCalls = device->Stats().drawCalls;
    }
    state.counters["drawCalls"] = drawCalls;
    state.counters["frames/s"] =
        benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
    bb_graphics_Init();
    c_VirtualDisplay::m_Display.reset();
    backdrop.reset();
    sprites.reset();
    glyphs.reset();
    glfwDestroyWindow(window);
}
BENCHMARK(BM_BusyFrame)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

BENCHMARK_MAIN();
