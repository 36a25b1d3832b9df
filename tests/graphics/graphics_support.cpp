// Helpers shared by the graphics tests: pixel blocks, reading the window back, and a hidden
// window with its own OpenGL context.
#include "graphics/graphics_test_support.h"

#include <GLFW/glfw3.h>
#include <cstdlib>
#include <gtest/gtest.h>
#include <span>
#include <stdexcept>

#include "graphics/gxtk_graphics.h"
#include "host/glfw_game.h"

namespace graphics_test {

std::shared_ptr<gxtkSurface> SolidSurface(int width, int height, int depth, std::uint32_t rgba) {
    auto* data =
        static_cast<unsigned char*>(std::malloc(static_cast<size_t>(width) * height * depth));
    const unsigned char bytes[4] = {
        static_cast<unsigned char>(rgba >> 24), static_cast<unsigned char>(rgba >> 16),
        static_cast<unsigned char>(rgba >> 8), static_cast<unsigned char>(rgba)};
    for (int i = 0; i < width * height; ++i)
        for (int c = 0; c < depth; ++c)
            data[i * depth + c] = depth == 2 && c == 1 ? bytes[3] : bytes[c];
    return gxtkSurface::FromPixels(gxtkPixels(data), width, height, depth);
}

std::shared_ptr<gxtkSurface> PaintedSurface(int width, int height,
                                            const std::function<std::uint32_t(int, int)>& fn) {
    auto* data = static_cast<unsigned char*>(std::malloc(static_cast<size_t>(width) * height * 4));
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const std::uint32_t rgba = fn(x, y);
            unsigned char* p = data + (y * width + x) * 4;
            p[0] = static_cast<unsigned char>(rgba >> 24);
            p[1] = static_cast<unsigned char>(rgba >> 16);
            p[2] = static_cast<unsigned char>(rgba >> 8);
            p[3] = static_cast<unsigned char>(rgba);
        }
    return gxtkSurface::FromPixels(gxtkPixels(data), width, height, 4);
}

int ReadPixel(gxtkGraphics& device, int x, int y) {
    int value = 0;
    device.ReadPixels(std::span<int>(&value, 1), x, y, 1, 1, 0, 1);
    return value & 0xffffff;
}

void ExpectPixels(gxtkGraphics& device, std::initializer_list<PixelCheck> checks) {
    for (const PixelCheck& c : checks)
        EXPECT_EQ(ReadPixel(device, c.x, c.y), c.rgb) << "pixel (" << c.x << ", " << c.y << ")";
}

GlWindow::GlWindow(int width, int height) {
    static const bool initialised = glfwInit() == GLFW_TRUE;
    if (!initialised)
        throw std::runtime_error("glfwInit failed (is there a display?)");
    glfwDefaultWindowHints();
    glfwWindowHint(GLFW_VISIBLE, GLFW_FALSE);
    glfwWindowHint(GLFW_CONTEXT_VERSION_MAJOR, 1);
    glfwWindowHint(GLFW_CONTEXT_VERSION_MINOR, 1);
    window_ = glfwCreateWindow(width, height, "graphics test", nullptr, nullptr);
    if (!window_)
        throw std::runtime_error("glfwCreateWindow failed");
    glfwMakeContextCurrent(window_);
    ++glfwGraphicsSeq;
}

GlWindow::~GlWindow() {
    glfwMakeContextCurrent(nullptr);
    glfwDestroyWindow(window_);
}

} // namespace graphics_test
