// The input device: keyboard, mouse, touch and joystick state as game code polls it once per
// update, under one numbering of key codes (0 to 511), and the bb_input_* queries over it.
#pragma once

#include <array>

#include "input/joystick_poller.h"

// Key codes beyond the keyboard's.
enum : int {
    KEY_LMB = 1,
    KEY_RMB = 2,
    KEY_MMB = 3,
    KEY_JOY0 = 256,   // 256 + 32 * joystick + button
    KEY_TOUCH0 = 384, // 384 + finger
    KEY_BACK = 416,
    KEY_CLOSE = 432,
};

// A joystick's buttons each have a key code: 32 to a port, the four ports from KEY_JOY0 on.
constexpr int kJoystickKeyButtons = 32;
constexpr int kJoystickKeyPorts = 4;

constexpr int bb_input_JoystickKey(int port, int button) {
    return KEY_JOY0 + kJoystickKeyButtons * port + button;
}

class c_JoyState {
public:
    std::array<float, 2> m_joyx{};
    std::array<float, 2> m_joyy{};
    std::array<float, 2> m_joyz{};
    std::array<bool, kJoystickKeyButtons> m_buttons{};
};

class c_InputDevice {
public:
    static constexpr int kKeys = 512;
    static constexpr int kHitQueue = 33;
    static constexpr int kCharQueue = 32;
    static constexpr int kFingers = 32;

    // `joysticks` (the host; not owned) is polled at the start of each update; without one the
    // joysticks stay as they are.
    explicit c_InputDevice(BBJoystickPoller* joysticks = nullptr) : m__joysticks(joysticks) {}

    void p_KeyEvent(int event, int data);
    void p_MouseEvent(int event, int data, float x, float y);
    void p_TouchEvent(int event, int data, float x, float y);
    void p_MotionEvent(int event, int data, float x, float y, float z);
    // Before each update: polls the joysticks. A port whose joystick was pulled out is emptied:
    // its axes at rest and its buttons up.
    void p_BeginUpdate();
    // After each update: hit counts of the queued keys back to 0, both queues emptied.
    void p_EndUpdate();

    bool p_KeyDown(int key) const;
    int p_KeyHit(int key) const;
    // The next character received this update, 0 when there is none.
    int p_GetChar();
    float p_MouseX() const { return m__mouseX; }
    float p_MouseY() const { return m__mouseY; }
    float p_TouchX(int finger) const;
    float p_TouchY(int finger) const;
    float p_JoyX(int index, int joystick) const;
    float p_JoyY(int index, int joystick) const;
    float p_JoyZ(int index, int joystick) const;
    float p_AccelX() const { return m__accelX; }
    float p_AccelY() const { return m__accelY; }
    float p_AccelZ() const { return m__accelZ; }

    std::array<c_JoyState, kJoystickKeyPorts> m__joyStates{};
    std::array<bool, kKeys> m__keyDown{};
    int m__keyHitPut = 0;
    std::array<int, kHitQueue> m__keyHitQueue{};
    std::array<int, kKeys> m__keyHit{};
    int m__charGet = 0;
    int m__charPut = 0;
    std::array<int, kCharQueue> m__charQueue{};
    float m__mouseX = 0;
    float m__mouseY = 0;
    std::array<float, kFingers> m__touchX{};
    std::array<float, kFingers> m__touchY{};
    float m__accelX = 0;
    float m__accelY = 0;
    float m__accelZ = 0;

private:
    BBJoystickPoller* m__joysticks;
    int m__joyPorts = 0; // ports that held a joystick at the last poll

    void ReleasePort(int port);

    void PressKey(int key);
    void ReleaseKey(int key);
    void CountHit(int key);
    void SetPointer(float x, float y);
    void SetFinger(int finger, float x, float y);
};

// The device the queries read (owned by the delegate); null before the game starts.
extern c_InputDevice* bb_input_device;

void bb_input_SetInputDevice(c_InputDevice* device);
bool bb_input_KeyDown(int key);
int bb_input_KeyHit(int key);
int bb_input_GetChar();
float bb_input_MouseX();
float bb_input_MouseY();
bool bb_input_TouchDown(int finger);
int bb_input_TouchHit(int finger);
float bb_input_TouchX(int finger);
float bb_input_TouchY(int finger);
bool bb_input_JoyDown(int button, int joystick);
int bb_input_JoyHit(int button, int joystick);
float bb_input_JoyX(int index, int joystick);
float bb_input_JoyY(int index, int joystick);
float bb_input_JoyZ(int index, int joystick);
float bb_input_AccelX();
float bb_input_AccelY();
float bb_input_AccelZ();
