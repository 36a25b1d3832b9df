// Where the input device reads the joysticks at the start of each update. The host implements
// it over its joystick ports and hands itself to the device, which so never reaches up to it.
#pragma once

#include <span>

class BBJoystickPoller {
public:
    virtual ~BBJoystickPoller() = default;
    // How many ports hold a joystick: the stored count unless asked to update (or told of a
    // joystick plugged in or pulled out since).
    virtual int CountJoysticks(bool update) = 0;
    // Fills elements 0 and 1 of the three axis arrays and the game buttons of one joystick
    // port; false for a port with no readable joystick.
    virtual bool PollJoystick(int port, std::span<float> joyx, std::span<float> joyy,
                              std::span<float> joyz, std::span<bool> buttons) = 0;
};
