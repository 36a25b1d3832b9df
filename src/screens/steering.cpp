// Steering input. Every query is read-only, so asking in any order changes nothing.
#include "screens/steering.h"

#include "input/input_device.h"
#include "input/key_codes.h"
#include "persist/settings.h"

namespace {

// A control key counts only when its code is a real key code.
bool ControlDown(int control) {
    const int code = bb_settings_gameSettings->m_controls[control];
    return code >= 1 && code <= 511 && bb_input_KeyDown(code);
}

} // namespace

bool bb_steering_Right() {
    return ControlDown(c_Control::Right) || bb_input_JoyX(0, 0) > bb_steering_StickThreshold ||
           bb_input_KeyDown(KEY_JOY0_RIGHT);
}

bool bb_steering_Left() {
    return ControlDown(c_Control::Left) || bb_input_JoyX(0, 0) < -bb_steering_StickThreshold ||
           bb_input_KeyDown(KEY_JOY0_LEFT);
}

bool bb_steering_Down() {
    return ControlDown(c_Control::Down) || bb_input_JoyY(0, 0) < -bb_steering_StickThreshold ||
           bb_input_KeyDown(KEY_JOY0_DOWN);
}

bool bb_steering_Up() {
    return ControlDown(c_Control::Up) || bb_input_JoyY(0, 0) > bb_steering_StickThreshold ||
           bb_input_KeyDown(KEY_JOY0_UP);
}
