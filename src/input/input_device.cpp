// c_InputDevice: key state with hit counts, the character queue, pointer and finger positions,
// joystick polling, and the bb_input_* queries.
#include "input/input_device.h"

#include "input/input_events.h"

#include <algorithm>

c_InputDevice* bb_input_device = nullptr;

namespace {

bool ValidKey(int key) {
    return key > 0 && key < c_InputDevice::kKeys;
}
bool ValidFinger(int finger) {
    return finger >= 0 && finger < c_InputDevice::kFingers;
}

// The left mouse button and the first finger are one control.
int CoupledKey(int key) {
    if (key == KEY_LMB)
        return KEY_TOUCH0;
    if (key == KEY_TOUCH0)
        return KEY_LMB;
    return 0;
}

} // namespace

void c_InputDevice::CountHit(int key) {
    // Presses beyond the queue's capacity within one update go uncounted.
    if (m__keyHitPut >= kHitQueue)
        return;
    ++m__keyHit[key];
    m__keyHitQueue[m__keyHitPut++] = key;
}

void c_InputDevice::PressKey(int key) {
    if (!ValidKey(key) || m__keyDown[key])
        return;
    m__keyDown[key] = true;
    CountHit(key);
    if (int other = CoupledKey(key); other && !m__keyDown[other]) {
        m__keyDown[other] = true;
        CountHit(other);
    }
}

void c_InputDevice::ReleaseKey(int key) {
    if (!ValidKey(key) || !m__keyDown[key])
        return;
    m__keyDown[key] = false;
    if (int other = CoupledKey(key))
        m__keyDown[other] = false;
}

void c_InputDevice::SetPointer(float x, float y) {
    m__mouseX = x;
    m__mouseY = y;
    m__touchX[0] = x;
    m__touchY[0] = y;
}

void c_InputDevice::SetFinger(int finger, float x, float y) {
    if (finger == 0) {
        SetPointer(x, y);
        return;
    }
    m__touchX[finger] = x;
    m__touchY[finger] = y;
}

void c_InputDevice::p_KeyEvent(int event, int data) {
    switch (event) {
    case BBEVENT_KEYDOWN:
        PressKey(data);
        break;
    case BBEVENT_KEYUP:
        ReleaseKey(data);
        break;
    case BBEVENT_KEYCHAR:
        if (m__charPut < kCharQueue)
            m__charQueue[m__charPut++] = data;
        break;
    default:
        break;
    }
}

void c_InputDevice::p_MouseEvent(int event, int data, float x, float y) {
    switch (event) {
    case BBEVENT_MOUSEDOWN:
        SetPointer(x, y);
        PressKey(KEY_LMB + data);
        break;
    case BBEVENT_MOUSEUP:
        ReleaseKey(KEY_LMB + data);
        break;
    case BBEVENT_MOUSEMOVE:
        SetPointer(x, y);
        break;
    default:
        break;
    }
}

void c_InputDevice::p_TouchEvent(int event, int data, float x, float y) {
    if (!ValidFinger(data))
        return;
    switch (event) {
    case BBEVENT_TOUCHDOWN:
        SetFinger(data, x, y);
        PressKey(KEY_TOUCH0 + data);
        break;
    case BBEVENT_TOUCHUP:
        ReleaseKey(KEY_TOUCH0 + data);
        break;
    case BBEVENT_TOUCHMOVE:
        SetFinger(data, x, y);
        break;
    default:
        break;
    }
}

void c_InputDevice::p_MotionEvent(int event, int /*data*/, float x, float y, float z) {
    if (event != BBEVENT_MOTION)
        return;
    m__accelX = x;
    m__accelY = y;
    m__accelZ = z;
}

void c_InputDevice::ReleasePort(int port) {
    m__joyStates[port] = c_JoyState{};
    for (int button = 0; button < kJoystickKeyButtons; ++button)
        m__keyDown[bb_input_JoystickKey(port, button)] = false;
}

void c_InputDevice::p_BeginUpdate() {
    if (!m__joysticks)
        return;
    // Ports are filled in order, so fewer joysticks leave the last ports empty; a pad pulled
    // out in the middle of a walk must not go on walking.
    const int ports =
        std::clamp(m__joysticks->CountJoysticks(false), 0, static_cast<int>(m__joyStates.size()));
    for (int port = ports; port < m__joyPorts; ++port)
        ReleasePort(port);
    m__joyPorts = ports;
    for (int port = 0; port < static_cast<int>(m__joyStates.size()); ++port) {
        c_JoyState& state = m__joyStates[port];
        // A missing joystick ends the poll: later ports are not polled either.
        if (!m__joysticks->PollJoystick(port, state.m_joyx, state.m_joyy, state.m_joyz,
                                        state.m_buttons))
            break;
        for (int button = 0; button < kJoystickKeyButtons; ++button) {
            int key = bb_input_JoystickKey(port, button);
            if (!state.m_buttons[button]) {
                m__keyDown[key] = false;
            } else if (!m__keyDown[key]) {
                m__keyDown[key] = true;
                CountHit(key);
            }
        }
    }
}

void c_InputDevice::p_EndUpdate() {
    for (int i = 0; i < m__keyHitPut; ++i)
        m__keyHit[m__keyHitQueue[i]] = 0;
    m__keyHitPut = 0;
    m__charGet = 0;
    m__charPut = 0;
}

bool c_InputDevice::p_KeyDown(int key) const {
    return ValidKey(key) && m__keyDown[key];
}
int c_InputDevice::p_KeyHit(int key) const {
    return ValidKey(key) ? m__keyHit[key] : 0;
}

int c_InputDevice::p_GetChar() {
    if (m__charGet >= m__charPut)
        return 0;
    return m__charQueue[m__charGet++];
}

float c_InputDevice::p_TouchX(int finger) const {
    return ValidFinger(finger) ? m__touchX[finger] : 0;
}
float c_InputDevice::p_TouchY(int finger) const {
    return ValidFinger(finger) ? m__touchY[finger] : 0;
}

namespace {

float JoyAxis(const c_InputDevice& device, const std::array<float, 2> c_JoyState::*axis, int index,
              int joystick) {
    if (joystick < 0 || joystick >= static_cast<int>(device.m__joyStates.size()))
        return 0;
    if (index < 0 || index > 1)
        return 0;
    return (device.m__joyStates[joystick].*axis)[index];
}

} // namespace

float c_InputDevice::p_JoyX(int index, int joystick) const {
    return JoyAxis(*this, &c_JoyState::m_joyx, index, joystick);
}
float c_InputDevice::p_JoyY(int index, int joystick) const {
    return JoyAxis(*this, &c_JoyState::m_joyy, index, joystick);
}
float c_InputDevice::p_JoyZ(int index, int joystick) const {
    return JoyAxis(*this, &c_JoyState::m_joyz, index, joystick);
}

void bb_input_SetInputDevice(c_InputDevice* device) {
    bb_input_device = device;
}
bool bb_input_KeyDown(int key) {
    return bb_input_device && bb_input_device->p_KeyDown(key);
}
int bb_input_KeyHit(int key) {
    return bb_input_device ? bb_input_device->p_KeyHit(key) : 0;
}
int bb_input_GetChar() {
    return bb_input_device ? bb_input_device->p_GetChar() : 0;
}
float bb_input_MouseX() {
    return bb_input_device ? bb_input_device->p_MouseX() : 0;
}
float bb_input_MouseY() {
    return bb_input_device ? bb_input_device->p_MouseY() : 0;
}
bool bb_input_TouchDown(int finger) {
    return bb_input_KeyDown(KEY_TOUCH0 + finger);
}
int bb_input_TouchHit(int finger) {
    return bb_input_KeyHit(KEY_TOUCH0 + finger);
}
float bb_input_TouchX(int finger) {
    return bb_input_device ? bb_input_device->p_TouchX(finger) : 0;
}
float bb_input_TouchY(int finger) {
    return bb_input_device ? bb_input_device->p_TouchY(finger) : 0;
}
bool bb_input_JoyDown(int button, int joystick) {
    return bb_input_KeyDown(bb_input_JoystickKey(joystick, button));
}
int bb_input_JoyHit(int button, int joystick) {
    return bb_input_KeyHit(bb_input_JoystickKey(joystick, button));
}
float bb_input_JoyX(int index, int joystick) {
    return bb_input_device ? bb_input_device->p_JoyX(index, joystick) : 0;
}
float bb_input_JoyY(int index, int joystick) {
    return bb_input_device ? bb_input_device->p_JoyY(index, joystick) : 0;
}
float bb_input_JoyZ(int index, int joystick) {
    return bb_input_device ? bb_input_device->p_JoyZ(index, joystick) : 0;
}
float bb_input_AccelX() {
    return bb_input_device ? bb_input_device->p_AccelX() : 0;
}
float bb_input_AccelY() {
    return bb_input_device ? bb_input_device->p_AccelY() : 0;
}
float bb_input_AccelZ() {
    return bb_input_device ? bb_input_device->p_AccelZ() : 0;
}
