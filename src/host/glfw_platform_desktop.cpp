// The desktop's part of the GLFW host: passes back to back, each sleeping until its updates are
// due; a new window for every change of mode (the same window asked for again is kept); the swap
// interval and the pointer as asked.
#include "host/glfw_game.h"

const bool BBGlfwGame::kPassSleeps = true;

void BBGlfwGame::RunFrameLoop() {
    while (!glfwWindowShouldClose(_window))
        RunPass();
}

void BBGlfwGame::UpdateEvents() {
    if (Suspended())
        glfwWaitEvents();
    else
        glfwPollEvents();
    ApplyFocus(glfwGetWindowAttrib(_window, GLFW_FOCUSED) == GLFW_TRUE);
}

void BBGlfwGame::PresentFrame() {
    glfwSwapBuffers(_window);
}

void BBGlfwGame::SetDeviceWindow(int width, int height, int flags) {
    // The window the frame loop opened from the settings is asked for again as the game starts:
    // a new one would only blink (and leave full screen for a moment).
    if (_window && width == _width && height == _height && flags == _windowFlags)
        return;
    OpenWindow(width, height, flags);
}

void BBGlfwGame::ApplySwapInterval() {
    if (_swapInterval >= 0)
        glfwSwapInterval(_swapInterval);
}

void BBGlfwGame::SetMouseVisible(bool visible) {
    if (_window)
        glfwSetInputMode(_window, GLFW_CURSOR, visible ? GLFW_CURSOR_NORMAL : GLFW_CURSOR_HIDDEN);
}

bool BBGlfwGame::TakeFullscreenLeft() {
    // A full-screen window stays so until the game changes it.
    return false;
}
