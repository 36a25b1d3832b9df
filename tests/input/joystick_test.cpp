// Joystick ports, the known pads' table and the raw layouts, read through a fake joystick source;
// pads plugged in and pulled out.
#include "host/glfw_game.h"
#include "host/glfw_joystick_source.h"
#include "input/input_device.h"
#include "input/joystick.h"

#include <GLFW/glfw3.h>
#include <gtest/gtest.h>

#include <map>
#include <optional>
#include <vector>

namespace {

struct FakeJoystick {
    std::vector<float> axes;
    std::vector<unsigned char> buttons;
    bool readable = true;
    std::optional<BBGamepadReading> pad; // a joystick with a known mapping
};

class FakeJoysticks : public BBJoystickSource {
public:
    bool Present(int jid) override { return sticks.count(jid) > 0; }
    const float* Axes(int jid, int* count) override {
        auto& s = sticks.at(jid);
        *count = static_cast<int>(s.axes.size());
        static const float none = 0;
        return !s.readable ? nullptr : s.axes.empty() ? &none : s.axes.data();
    }
    const unsigned char* Buttons(int jid, int* count) override {
        auto& s = sticks.at(jid);
        *count = static_cast<int>(s.buttons.size());
        static const unsigned char none = 0;
        return !s.readable ? nullptr : s.buttons.empty() ? &none : s.buttons.data();
    }
    bool Gamepad(int jid, BBGamepadReading* reading) override {
        const auto& pad = sticks.at(jid).pad;
        if (pad)
            *reading = *pad;
        return pad.has_value();
    }
    std::map<int, FakeJoystick> sticks;
};

FakeJoystick Stick(int axes, int buttons) {
    FakeJoystick s;
    s.axes.resize(axes);
    for (int i = 0; i < axes; ++i)
        s.axes[i] = 0.1f * (i + 1);
    s.buttons.resize(buttons, GLFW_RELEASE);
    return s;
}

struct Poll {
    bool ok = false;
    std::array<float, 2> x{}, y{}, z{};
    std::array<bool, 32> buttons{};
};

Poll PollPort(BBJoystickPorts& ports, int port) {
    Poll p;
    p.buttons.fill(true);
    p.ok = ports.PollJoystick(port, p.x, p.y, p.z, p.buttons);
    return p;
}

} // namespace

TEST(JoystickPorts, StandardLayoutNegatesTheVerticalAxesSinceGlfwReportsUpAsNegative) {
    FakeJoysticks source;
    source.sticks[0] = Stick(4, 16);
    source.sticks[0].axes[1] = -1.0f; // the first stick pushed all the way up
    source.sticks[0].buttons[6] = GLFW_PRESS;
    source.sticks[0].buttons[1] = GLFW_PRESS;  // game button 0
    source.sticks[0].buttons[15] = GLFW_PRESS; // game button 8
    BBJoystickPorts ports(&source);
    Poll p = PollPort(ports, 0);
    ASSERT_TRUE(p.ok);
    EXPECT_FLOAT_EQ(p.x[0], 0.1f);
    EXPECT_FLOAT_EQ(p.y[0], 1.0f); // up, as the game reads it
    EXPECT_FLOAT_EQ(p.z[0], 1.0f);
    EXPECT_FLOAT_EQ(p.x[1], 0.3f);
    EXPECT_FLOAT_EQ(p.y[1], -0.4f);
    EXPECT_FLOAT_EQ(p.z[1], 0.0f);
    for (int b = 0; b < 32; ++b)
        EXPECT_EQ(p.buttons[b], b == 0 || b == 8) << b;
}

TEST(JoystickPorts, PadLayoutForFiveAxesAndFourteenButtons) {
    FakeJoysticks source;
    source.sticks[0] = Stick(5, 14);
    source.sticks[0].buttons[13] = GLFW_PRESS; // game button 8
    source.sticks[0].buttons[0] = GLFW_PRESS;  // game button 0
    BBJoystickPorts ports(&source);
    Poll p = PollPort(ports, 0);
    ASSERT_TRUE(p.ok);
    EXPECT_FLOAT_EQ(p.x[0], 0.1f);
    EXPECT_FLOAT_EQ(p.y[0], -0.2f); // the first stick's vertical axis negated
    EXPECT_FLOAT_EQ(p.z[0], 0.3f);
    EXPECT_FLOAT_EQ(p.x[1], 0.5f);
    EXPECT_FLOAT_EQ(p.y[1], -0.4f);
    EXPECT_FLOAT_EQ(p.z[1], -0.3f);
    for (int b = 0; b < 32; ++b)
        EXPECT_EQ(p.buttons[b], b == 0 || b == 8) << b;
}

TEST(JoystickPorts, AKnownPadFillsThePortByOneTableWhateverItsRawLayout) {
    GLFWgamepadstate state = {};
    state.axes[GLFW_GAMEPAD_AXIS_LEFT_X] = 0.5f;
    state.axes[GLFW_GAMEPAD_AXIS_LEFT_Y] = -1.0f; // pushed up
    state.axes[GLFW_GAMEPAD_AXIS_RIGHT_X] = -0.25f;
    state.axes[GLFW_GAMEPAD_AXIS_RIGHT_Y] = 0.75f;
    state.axes[GLFW_GAMEPAD_AXIS_LEFT_TRIGGER] = -1.0f; // at rest
    state.axes[GLFW_GAMEPAD_AXIS_RIGHT_TRIGGER] = 1.0f; // pulled all the way
    // The table's edges: its first and last game buttons, the first of the D-pad's four (the
    // game's 8 to 11), and the one button the game has no use for.
    const std::map<int, int> gameButtons = {{GLFW_GAMEPAD_BUTTON_A, 0},
                                            {GLFW_GAMEPAD_BUTTON_DPAD_LEFT, 8},
                                            {GLFW_GAMEPAD_BUTTON_RIGHT_THUMB, 13},
                                            {GLFW_GAMEPAD_BUTTON_GUIDE, -1}};
    FakeJoysticks source;
    // Raw, an ordinary pad: 6 axes and 15 buttons, which the standard layout would misread.
    source.sticks[0] = Stick(6, 15);
    BBJoystickPorts ports(&source);
    for (const auto& [glfwButton, gameButton] : gameButtons) {
        GLFWgamepadstate pressed = state;
        pressed.buttons[glfwButton] = GLFW_PRESS;
        source.sticks[0].pad = BBGlfwJoystickSource::Reading(pressed);
        Poll p = PollPort(ports, 0);
        ASSERT_TRUE(p.ok);
        EXPECT_FLOAT_EQ(p.x[0], 0.5f);
        EXPECT_FLOAT_EQ(p.y[0], 1.0f); // up, as the game reads it
        EXPECT_FLOAT_EQ(p.z[0], 0.0f);
        EXPECT_FLOAT_EQ(p.x[1], -0.25f);
        EXPECT_FLOAT_EQ(p.y[1], -0.75f);
        EXPECT_FLOAT_EQ(p.z[1], 1.0f);
        for (int b = 0; b < 32; ++b)
            EXPECT_EQ(p.buttons[b], b == gameButton) << "GLFW button " << glfwButton;
    }
}

TEST(JoystickPorts, UnreportedIndicesReadAsZeroAndReleased) {
    FakeJoysticks source;
    source.sticks[0] = Stick(1, 2);
    source.sticks[0].buttons[1] = GLFW_PRESS;
    BBJoystickPorts ports(&source);
    Poll p = PollPort(ports, 0);
    ASSERT_TRUE(p.ok);
    EXPECT_FLOAT_EQ(p.x[0], 0.1f);
    EXPECT_FLOAT_EQ(p.y[0], 0.0f);
    EXPECT_FLOAT_EQ(p.x[1], 0.0f);
    EXPECT_FLOAT_EQ(p.y[1], 0.0f);
    EXPECT_FLOAT_EQ(p.z[0], 0.0f);
    for (int b = 0; b < 32; ++b)
        EXPECT_EQ(p.buttons[b], b == 0) << b;

    source.sticks[0] = Stick(0, 0);
    p = PollPort(ports, 0);
    ASSERT_TRUE(p.ok);
    for (bool b : p.buttons)
        EXPECT_FALSE(b);
}

TEST(JoystickPorts, PortsAreCountedOnceFromTheFirstPresentIds) {
    FakeJoysticks source;
    for (int jid : {2, 5, 6, 9, 12})
        source.sticks[jid] = Stick(2, 2);
    source.sticks[5].axes[0] = -1;
    BBJoystickPorts ports(&source);
    EXPECT_EQ(ports.CountJoysticks(false), 4);
    EXPECT_FLOAT_EQ(PollPort(ports, 1).x[0], -1); // id 5
    EXPECT_FALSE(PollPort(ports, 4).ok);
    EXPECT_FALSE(PollPort(ports, -1).ok);

    // Without an update the list is kept even though the joysticks changed.
    source.sticks.erase(2);
    EXPECT_EQ(ports.CountJoysticks(false), 4);
    EXPECT_EQ(ports.CountJoysticks(true), 4);
    source.sticks.erase(5);
    EXPECT_EQ(ports.CountJoysticks(true), 3);
    EXPECT_EQ(ports.CountJoysticks(false), 3);
}

TEST(JoystickPorts, UnreadableJoystickFailsItsPoll) {
    FakeJoysticks source;
    source.sticks[0] = Stick(2, 2);
    source.sticks[0].readable = false;
    BBJoystickPorts ports(&source);
    EXPECT_FALSE(PollPort(ports, 0).ok);
}

TEST(JoystickInput, BeginUpdatePollsPortsIntoKeysUntilOneFails) {
    FakeJoysticks source;
    source.sticks[0] = Stick(2, 16);
    source.sticks[1] = Stick(2, 16);
    source.sticks[1].buttons[3] = GLFW_PRESS; // game button 3 of joystick 1: key 291
    source.sticks[1].axes[0] = 0.9f;
    BBGlfwGame host;
    host.SetJoystickSource(&source);
    c_InputDevice device(&host);
    bb_input_SetInputDevice(&device);

    device.p_BeginUpdate();
    EXPECT_TRUE(bb_input_KeyDown(291));
    EXPECT_EQ(bb_input_JoyHit(3, 1), 1);
    EXPECT_FLOAT_EQ(c_Joystick::m_JoyX(0, 1), 0.9f);
    EXPECT_FLOAT_EQ(bb_input_JoyY(0, 1), -0.2f);
    device.p_EndUpdate();

    // Still held: down, no new hit.
    device.p_BeginUpdate();
    EXPECT_TRUE(bb_input_KeyDown(291));
    EXPECT_EQ(bb_input_KeyHit(291), 0);
    device.p_EndUpdate();

    // Port 0 unreadable: polling stops there and port 1 keeps its last state.
    source.sticks[0].readable = false;
    source.sticks[1].buttons[3] = GLFW_RELEASE;
    device.p_BeginUpdate();
    EXPECT_TRUE(bb_input_KeyDown(291));
    source.sticks[0].readable = true;
    device.p_BeginUpdate();
    EXPECT_FALSE(bb_input_KeyDown(291));
    bb_input_SetInputDevice(nullptr);
    host.SetJoystickSource(nullptr);
}

TEST(JoystickInput, PadsPluggedInOrPulledOutAreFoundAtOnceAndLeaveNothingHeld) {
    FakeJoysticks source;
    BBGlfwGame host;
    host.SetJoystickSource(&source);
    c_InputDevice device(&host);
    bb_input_SetInputDevice(&device);
    device.p_BeginUpdate();
    EXPECT_EQ(host.CountJoysticks(false), 0);

    // A pad plugged in with its D-pad right and its stick left held.
    BBGamepadReading held;
    held.buttons[BBGamepadReading::kDpadRight] = kJoystickButtonPressed;
    held.axes[BBGamepadReading::kLeftX] = -1.0f;
    source.sticks[3] = Stick(6, 15);
    source.sticks[3].pad = held;
    BBGlfwGame::OnJoysticksChanged();
    device.p_BeginUpdate();
    EXPECT_TRUE(bb_input_JoyDown(10, 0));
    EXPECT_FLOAT_EQ(bb_input_JoyX(0, 0), -1.0f);

    // A joystick on a lower id takes the first port; the pad moves to the second.
    source.sticks[1] = Stick(2, 16);
    BBGlfwGame::OnJoysticksChanged();
    device.p_BeginUpdate();
    EXPECT_FALSE(bb_input_JoyDown(10, 0));
    EXPECT_TRUE(bb_input_JoyDown(10, 1));
    EXPECT_FLOAT_EQ(bb_input_JoyX(0, 1), -1.0f);

    // Pulled out while held: the second port holds nothing, however the pad left it.
    source.sticks.erase(3);
    BBGlfwGame::OnJoysticksChanged();
    device.p_BeginUpdate();
    EXPECT_EQ(host.CountJoysticks(false), 1);
    EXPECT_FALSE(bb_input_JoyDown(10, 1));
    EXPECT_FLOAT_EQ(bb_input_JoyX(0, 1), 0.0f);
    bb_input_SetInputDevice(nullptr);
    host.SetJoystickSource(nullptr);
}
