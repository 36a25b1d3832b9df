// Frame capture in the browser. The script runs in one go without giving the page a frame, so
// the canvas's drawing buffer still holds the frame just drawn (WebGL has one default buffer to
// read, hence no read-buffer choice). The PNG goes into the page's in-memory file system, which
// is gone with the page: the page is told the file's name so that it can hand the file on.
#include "frame_capture.h"

#include "frame_png.h"

#include <GLFW/glfw3.h>
#include <emscripten/emscripten.h>

EM_JS(void, bb_replay_ShotWritten, (const char* path), {
    if (Module.onShot)
        Module.onShot(UTF8ToString(path));
});

bool CaptureFrame(GLFWwindow* window, const std::string& path) {
    int width = 0, height = 0;
    glfwGetFramebufferSize(window, &width, &height);
    if (!WriteFramePng(width, height, path))
        return false;
    bb_replay_ShotWritten(path.c_str());
    return true;
}
