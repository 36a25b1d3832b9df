// A page's pads: the page's GLFW hands over raw buttons only, so a pad the browser presents in
// its standard mapping is read through the html5 gamepad API instead and given the one table of
// known pads. Browsers show a pad only after its first button press; its gamepadconnected event
// and GLFW's joystick callback both announce it.
#include "host/glfw_joystick_source.h"

#include <emscripten/html5.h>

#include <cstring>

namespace {

// Where the browsers' standard mapping puts each button of the gamepad numbering.
constexpr int kStandardButtons[BBGamepadReading::kButtons] = {
    0,  1,  2,  3,   // A, B, X, Y
    4,  5,           // the shoulders
    8,  9,  16,      // back, start, the guide
    10, 11,          // the stick clicks
    12, 15, 13, 14}; // the D-pad: up, right, down, left
// The triggers are analog buttons there, from 0 at rest to 1.
constexpr int kStandardLeftTrigger = 6;
constexpr int kStandardRightTrigger = 7;
constexpr int kStandardAxes = 4; // the sticks: left x, left y, right x, right y

float Trigger(const EmscriptenGamepadEvent& pad, int button) {
    const double value = button < pad.numButtons ? pad.analogButton[button] : 0.0;
    return static_cast<float>(value * 2 - 1);
}

BBGamepadReading StandardReading(const EmscriptenGamepadEvent& pad) {
    BBGamepadReading reading;
    for (int axis = 0; axis < kStandardAxes; ++axis)
        reading.axes[axis] = axis < pad.numAxes ? static_cast<float>(pad.axis[axis]) : 0.0f;
    reading.axes[BBGamepadReading::kLeftTrigger] = Trigger(pad, kStandardLeftTrigger);
    reading.axes[BBGamepadReading::kRightTrigger] = Trigger(pad, kStandardRightTrigger);
    for (int button = 0; button < BBGamepadReading::kButtons; ++button) {
        const int standard = kStandardButtons[button];
        if (standard < pad.numButtons && pad.digitalButton[standard])
            reading.buttons[button] = kJoystickButtonPressed;
    }
    return reading;
}

} // namespace

void BBGlfwJoystickSource::StartPlatform() {
    // GLFW's own listeners for these events look at the pads at most once per animation frame,
    // and so may miss one that comes between frames: the events themselves bring a new count.
    constexpr auto changed = [](int /*type*/, const EmscriptenGamepadEvent*, void*) -> EM_BOOL {
        Changed();
        return EM_FALSE;
    };
    emscripten_set_gamepadconnected_callback(nullptr, EM_TRUE, changed);
    emscripten_set_gamepaddisconnected_callback(nullptr, EM_TRUE, changed);
}

bool BBGlfwJoystickSource::Gamepad(int jid, BBGamepadReading* reading) {
    EmscriptenGamepadEvent pad;
    if (emscripten_sample_gamepad_data() != EMSCRIPTEN_RESULT_SUCCESS ||
        emscripten_get_gamepad_status(jid, &pad) != EMSCRIPTEN_RESULT_SUCCESS ||
        std::strcmp(pad.mapping, "standard") != 0)
        return false;
    *reading = StandardReading(pad);
    return true;
}
