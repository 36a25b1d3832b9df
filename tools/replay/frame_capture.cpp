// The desktop's frame is still in the back buffer: the driver swaps only before the next render.
#include "frame_capture.h"

#include "frame_png.h"

#include <GLFW/glfw3.h>

bool CaptureFrame(GLFWwindow* window, const std::string& path) {
    int width = 0, height = 0;
    glfwGetFramebufferSize(window, &width, &height);
    glReadBuffer(GL_BACK);
    return WriteFramePng(width, height, path);
}
