// The event numbers the host hands to the game with each key, mouse, touch and motion event,
// and the input device reads them. They live with the input device, below the host, so that
// both may use them.
#pragma once

enum BBEvent {
    BBEVENT_KEYDOWN = 1,
    BBEVENT_KEYUP = 2,
    BBEVENT_KEYCHAR = 3,
    BBEVENT_MOUSEDOWN = 4,
    BBEVENT_MOUSEUP = 5,
    BBEVENT_MOUSEMOVE = 6,
    BBEVENT_TOUCHDOWN = 7,
    BBEVENT_TOUCHUP = 8,
    BBEVENT_TOUCHMOVE = 9,
    BBEVENT_MOTION = 10,
};
