// ReplayHost: the desktop host with a hidden window and no swap wait.
#include "replay_host.h"

namespace {

constexpr int kFullscreenFlag = 1;
constexpr int kResizableDecorated = 6;

} // namespace

ReplayHost::ReplayHost() {
    BBGlfwGame::SetSwapInterval(0);
}

void ReplayHost::SetDeviceWindow(int width, int height, int flags) {
    BBGlfwGame::SetDeviceWindow(width, height, flags & ~kFullscreenFlag);
    glfwHideWindow(_window);
}

void ReplayHost::SetSwapInterval(int) {}

void ReplayHost::Open() {
    SetDeviceWindow(640, 480, kResizableDecorated);
    StartGame();
}
