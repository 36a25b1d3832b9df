// ReplayHost: the desktop host with a hidden window and no swap wait.
#include "replay_host.h"

ReplayHost::ReplayHost() {
    BBGlfwGame::SetSwapInterval(0);
}

void ReplayHost::SetDeviceWindow(int width, int height, int flags) {
    BBGlfwGame::SetDeviceWindow(width, height, flags & ~kFullscreen);
    glfwHideWindow(_window);
}

void ReplayHost::SetSwapInterval(int) {}

void ReplayHost::Open() {
    SetDeviceWindow(640, 480, kResizable | kDecorated);
    StartGame();
}
