// A joystick as a recording holds it, the same for the recorder and the runner: whether its port
// has one, its sticks as a `joy` line writes them, and the buttons held on it.
#pragma once

#include "input/input_device.h"
#include "replay/replay_script.h"

#include <array>

struct ReplayJoystick {
    bool present = false;
    decltype(ReplayCommand::axes)::value_type axes{};
    std::array<bool, kJoystickKeyButtons> buttons{};
};

// One for each joystick port the game reads.
using ReplayJoysticks = std::array<ReplayJoystick, kJoystickKeyPorts>;

// The joystick port of a joystick button's key code, or -1 for any other key.
constexpr int ReplayJoystickPort(int code) {
    const int port = (code - KEY_JOY0) / kJoystickKeyButtons;
    return code >= KEY_JOY0 && port < kJoystickKeyPorts ? port : -1;
}
