// Joystick axis reads for game code, the same as bb_input_JoyX/JoyY with the same arguments.
#pragma once

class c_Joystick {
public:
    static float m_JoyX(int index, int joystick);
    static float m_JoyY(int index, int joystick);
};
