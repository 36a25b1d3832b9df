// Helpers shared by the graphics tests: pixel blocks, reading the window back, and a hidden
// window with its own OpenGL context.
#pragma once

#include <cstdint>
#include <functional>
#include <initializer_list>
#include <memory>

#include "graphics/gxtk_graphics.h"
#include "graphics/gxtk_surface.h"

struct GLFWwindow;

namespace graphics_test {

// A width x height surface of one colour (bytes in the surface's own order, straight alpha).
std::shared_ptr<gxtkSurface> SolidSurface(int width, int height, int depth,
                                          std::uint32_t rgba = 0xffffffffu);
// A surface whose pixels come from fn(x, y) as 0xRRGGBBAA, depth 4.
std::shared_ptr<gxtkSurface> PaintedSurface(int width, int height,
                                            const std::function<std::uint32_t(int, int)>& fn);

// 0xRRGGBB of window pixel (x, y), y downward, read through the renderer.
int ReadPixel(gxtkGraphics& device, int x, int y);

struct PixelCheck {
    int x, y;
    int rgb; // 0xRRGGBB
};
// Expects each listed window pixel to have its colour.
void ExpectPixels(gxtkGraphics& device, std::initializer_list<PixelCheck> checks);

// A hidden window with a current OpenGL context; each one is a new graphics sequence.
class GlWindow {
public:
    GlWindow(int width, int height);
    ~GlWindow();
    GlWindow(const GlWindow&) = delete;
    GlWindow& operator=(const GlWindow&) = delete;
    GLFWwindow* window() const { return window_; }

private:
    GLFWwindow* window_ = nullptr;
};

} // namespace graphics_test
