// BBGlfwJoystickSource: presence, axes and buttons straight from GLFW.
#include "host/glfw_joystick_source.h"

#include <GLFW/glfw3.h>

static_assert(kJoystickButtonPressed == GLFW_PRESS, "the layouts read GLFW's pressed value");

bool BBGlfwJoystickSource::Present(int jid) {
    return glfwJoystickPresent(jid) == GLFW_TRUE;
}

const float* BBGlfwJoystickSource::Axes(int jid, int* count) {
    return glfwGetJoystickAxes(jid, count);
}

const unsigned char* BBGlfwJoystickSource::Buttons(int jid, int* count) {
    return glfwGetJoystickButtons(jid, count);
}
