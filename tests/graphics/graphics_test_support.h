// Helpers shared by the graphics tests: pixel blocks, a child process for fatal paths, and a
// hidden window with its own OpenGL context.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "graphics/gxtk_surface.h"

struct GLFWwindow;

namespace graphics_test {

// A width x height surface of one colour (bytes in the surface's own order, straight alpha).
std::shared_ptr<gxtkSurface> SolidSurface(int width, int height, int depth,
                                          std::uint32_t rgba = 0xffffffffu);
// A surface whose pixels come from fn(x, y) as 0xRRGGBBAA, depth 4.
std::shared_ptr<gxtkSurface> PaintedSurface(int width, int height,
                                            const std::function<std::uint32_t(int, int)>& fn);

struct ChildResult {
    int status = -1;    // exit status, or -1 when the child did not exit normally
    std::string output; // everything it wrote on standard output
};
// Runs fn in a forked child, capturing its standard output and exit status.
ChildResult RunInChild(const std::function<void()>& fn);

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
