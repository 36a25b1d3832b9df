// c_Joystick: joystick axis reads for game code.
#include "input/joystick.h"

#include "input/input_device.h"

float c_Joystick::m_JoyX(int index, int joystick) {
    return bb_input_JoyX(index, joystick);
}
float c_Joystick::m_JoyY(int index, int joystick) {
    return bb_input_JoyY(index, joystick);
}
