// Game key codes of the keyboard keys and joystick buttons the screens listen to; the codes of
// the mouse, the first joystick button and touch are with the input device (input_device.h).
#pragma once

#include "input/input_device.h"

enum : int {
    KEY_ENTER = 13,
    KEY_ESCAPE = 27,
    KEY_SPACE = 32,
    KEY_UP = 38,
    KEY_DOWN = 40,
    // The first joystick's Back and Start: Back does what Escape does, Start pauses.
    KEY_JOY0_BACK = KEY_JOY0 + 6,
    KEY_JOY0_START = KEY_JOY0 + 7,
    // The first joystick's direction pad, which the game reads as its buttons 8 to 11.
    KEY_JOY0_LEFT = KEY_JOY0 + 8,
    KEY_JOY0_UP = KEY_JOY0 + 9,
    KEY_JOY0_RIGHT = KEY_JOY0 + 10,
    KEY_JOY0_DOWN = KEY_JOY0 + 11,
};
