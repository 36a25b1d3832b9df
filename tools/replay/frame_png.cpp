// glReadPixels, packed to RGB rows from top to bottom, written with stb_image_write.
#include "frame_png.h"

#include <GLFW/glfw3.h>
#include <stb_image_write.h>

#include <cstddef>
#include <vector>

bool WriteFramePng(int width, int height, const std::string& path) {
    if (width <= 0 || height <= 0)
        return false;
    const size_t columns = static_cast<size_t>(width);
    const size_t rows = static_cast<size_t>(height);
    // RGBA is the one format WebGL is sure to read; the desktop gives the same pixels either way.
    std::vector<unsigned char> rgba(columns * rows * 4);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, width, height, GL_RGBA, GL_UNSIGNED_BYTE, rgba.data());
    // OpenGL's rows run bottom-up; PNG's top-down.
    std::vector<unsigned char> rgb(columns * rows * 3);
    for (size_t row = 0; row < rows; ++row) {
        const unsigned char* from = rgba.data() + (rows - 1 - row) * columns * 4;
        unsigned char* to = rgb.data() + row * columns * 3;
        for (size_t column = 0; column < columns; ++column, from += 4, to += 3) {
            to[0] = from[0];
            to[1] = from[1];
            to[2] = from[2];
        }
    }
    return stbi_write_png(path.c_str(), width, height, 3, rgb.data(),
                          static_cast<int>(columns * 3)) != 0;
}
