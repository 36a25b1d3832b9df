// The desktop's pads: GLFW's gamepad API, over the mapping database GLFW carries and the
// player's own mappings.
#include "host/gamepad_mappings.h"
#include "host/glfw_joystick_source.h"

#include <GLFW/glfw3.h>

#include <algorithm>
#include <iterator>

// GLFW numbers its gamepad state as the reading does, so the state passes over as it is.
static_assert(GLFW_GAMEPAD_BUTTON_A == BBGamepadReading::kA &&
              GLFW_GAMEPAD_BUTTON_B == BBGamepadReading::kB &&
              GLFW_GAMEPAD_BUTTON_X == BBGamepadReading::kX &&
              GLFW_GAMEPAD_BUTTON_Y == BBGamepadReading::kY &&
              GLFW_GAMEPAD_BUTTON_LEFT_BUMPER == BBGamepadReading::kLeftBumper &&
              GLFW_GAMEPAD_BUTTON_RIGHT_BUMPER == BBGamepadReading::kRightBumper &&
              GLFW_GAMEPAD_BUTTON_BACK == BBGamepadReading::kBack &&
              GLFW_GAMEPAD_BUTTON_START == BBGamepadReading::kStart &&
              GLFW_GAMEPAD_BUTTON_GUIDE == BBGamepadReading::kGuide &&
              GLFW_GAMEPAD_BUTTON_LEFT_THUMB == BBGamepadReading::kLeftThumb &&
              GLFW_GAMEPAD_BUTTON_RIGHT_THUMB == BBGamepadReading::kRightThumb &&
              GLFW_GAMEPAD_BUTTON_DPAD_UP == BBGamepadReading::kDpadUp &&
              GLFW_GAMEPAD_BUTTON_DPAD_RIGHT == BBGamepadReading::kDpadRight &&
              GLFW_GAMEPAD_BUTTON_DPAD_DOWN == BBGamepadReading::kDpadDown &&
              GLFW_GAMEPAD_BUTTON_DPAD_LEFT == BBGamepadReading::kDpadLeft &&
              GLFW_GAMEPAD_BUTTON_LAST + 1 == BBGamepadReading::kButtons);
static_assert(GLFW_GAMEPAD_AXIS_LEFT_X == BBGamepadReading::kLeftX &&
              GLFW_GAMEPAD_AXIS_LEFT_Y == BBGamepadReading::kLeftY &&
              GLFW_GAMEPAD_AXIS_RIGHT_X == BBGamepadReading::kRightX &&
              GLFW_GAMEPAD_AXIS_RIGHT_Y == BBGamepadReading::kRightY &&
              GLFW_GAMEPAD_AXIS_LEFT_TRIGGER == BBGamepadReading::kLeftTrigger &&
              GLFW_GAMEPAD_AXIS_RIGHT_TRIGGER == BBGamepadReading::kRightTrigger &&
              GLFW_GAMEPAD_AXIS_LAST + 1 == BBGamepadReading::kAxes);

void BBGlfwJoystickSource::StartPlatform() {
    bb_host_LoadGamepadMappings();
}

bool BBGlfwJoystickSource::Gamepad(int jid, BBGamepadReading* reading) {
    GLFWgamepadstate state;
    if (glfwJoystickIsGamepad(jid) != GLFW_TRUE || glfwGetGamepadState(jid, &state) != GLFW_TRUE)
        return false;
    *reading = Reading(state);
    return true;
}

BBGamepadReading BBGlfwJoystickSource::Reading(const GLFWgamepadstate& state) {
    BBGamepadReading reading;
    std::copy(std::begin(state.axes), std::end(state.axes), reading.axes.begin());
    std::copy(std::begin(state.buttons), std::end(state.buttons), reading.buttons.begin());
    return reading;
}
