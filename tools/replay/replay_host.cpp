// ReplayHost: the desktop host with a hidden window, an update-counting clock, no swap wait, no
// joysticks and an in-memory state file.
#include "replay_host.h"

#include <utility>

namespace {

// A replay is driven by its script alone: whatever joystick is plugged in is not seen.
class NoJoysticks : public BBJoystickSource {
public:
    bool Present(int) override { return false; }
    const float* Axes(int, int*) override { return nullptr; }
    const unsigned char* Buttons(int, int*) override { return nullptr; }
};

NoJoysticks g_noJoysticks;

} // namespace

ReplayHost::ReplayHost(String state) : _state(std::move(state)) {
    SetJoystickSource(&g_noJoysticks);
    BBGlfwGame::SetSwapInterval(0);
}

int ReplayHost::Millisecs() {
    return static_cast<int>(_updates * 1000 / 60);
}

String ReplayHost::LoadState() {
    return _state;
}

int ReplayHost::SaveState(const String& state) {
    _state = state;
    return 0;
}

void ReplayHost::SetDeviceWindow(int width, int height, int flags) {
    BBGlfwGame::SetDeviceWindow(width, height, flags & ~kFullscreen);
    glfwHideWindow(_window);
}

void ReplayHost::SetSwapInterval(int) {}

void ReplayHost::UpdateGame() {
    if (Started() && !Suspended())
        ++_updates;
    BBGlfwGame::UpdateGame();
}

void ReplayHost::Open() {
    SetDeviceWindow(640, 480, kResizable | kDecorated);
    StartGame();
}
