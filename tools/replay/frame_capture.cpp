// glReadPixels of the back buffer, flipped to top-down rows, written with stb_image_write.
#include "frame_capture.h"

#include <GLFW/glfw3.h>
#include <stb_image_write.h>

#include <cstring>
#include <vector>

bool CaptureFrame(GLFWwindow* window, const std::string& path) {
    int width = 0, height = 0;
    glfwGetFramebufferSize(window, &width, &height);
    if (width <= 0 || height <= 0)
        return false;
    const size_t rowBytes = static_cast<size_t>(width) * 3;
    std::vector<unsigned char> pixels(rowBytes * static_cast<size_t>(height));
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadBuffer(GL_BACK);
    glReadPixels(0, 0, width, height, GL_RGB, GL_UNSIGNED_BYTE, pixels.data());
    // OpenGL's rows run bottom-up; PNG's top-down.
    std::vector<unsigned char> row(rowBytes);
    for (int top = 0, bottom = height - 1; top < bottom; ++top, --bottom) {
        unsigned char* a = pixels.data() + rowBytes * static_cast<size_t>(top);
        unsigned char* b = pixels.data() + rowBytes * static_cast<size_t>(bottom);
        std::memcpy(row.data(), a, rowBytes);
        std::memcpy(a, b, rowBytes);
        std::memcpy(b, row.data(), rowBytes);
    }
    return stbi_write_png(path.c_str(), width, height, 3, pixels.data(),
                          static_cast<int>(rowBytes)) != 0;
}
