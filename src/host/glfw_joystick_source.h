// The game's joysticks as GLFW reports them, for the host's joystick ports.
#pragma once

#include "input/joystick_ports.h"

// Reads GLFW's joysticks 0 to 15.
class BBGlfwJoystickSource : public BBJoystickSource {
public:
    bool Present(int jid) override;
    const float* Axes(int jid, int* count) override;
    const unsigned char* Buttons(int jid, int* count) override;
};
