// BBGlfwJoystickSource: presence, axes and buttons straight from GLFW, and its joystick
// callback, alike on the desktop and in a page.
#include "host/glfw_joystick_source.h"

#include <GLFW/glfw3.h>

static_assert(kJoystickButtonPressed == GLFW_PRESS, "the layouts read GLFW's pressed value");

namespace {

void (*g_joysticksChanged)() = nullptr;

} // namespace

void BBGlfwJoystickSource::Start(void (*changed)()) {
    g_joysticksChanged = changed;
    StartPlatform();
    glfwSetJoystickCallback([](int /*jid*/, int /*event*/) { Changed(); });
}

void BBGlfwJoystickSource::Changed() {
    if (g_joysticksChanged)
        g_joysticksChanged();
}

bool BBGlfwJoystickSource::Present(int jid) {
    return glfwJoystickPresent(jid) == GLFW_TRUE;
}

const float* BBGlfwJoystickSource::Axes(int jid, int* count) {
    return glfwGetJoystickAxes(jid, count);
}

const unsigned char* BBGlfwJoystickSource::Buttons(int jid, int* count) {
    return glfwGetJoystickButtons(jid, count);
}
