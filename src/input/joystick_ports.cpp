// The joystick port table, the known pads' table and the two raw joystick layouts.
#include "input/joystick_ports.h"

#include <algorithm>

namespace {

// A layout source: the low 4 bits index a raw axis or button, the upper bits say how the value
// is formed from it.
constexpr int kAxis = 0x00;
constexpr int kAxisHalfUp = 0x10;
constexpr int kAxisHalfDown = 0x20;
constexpr int kAxisNegated = 0x40;
constexpr int kButton = 0x80;

struct JoystickLayout {
    int outputs[6];  // x0, y0, z0, x1, y1, z1
    int buttons[14]; // raw button behind game buttons 0..13
};

// Both sticks' vertical axes are negated, as in the pad layout: a joystick reports a stick pushed
// up as negative, and the game takes a positive y for up (a y above 0.75 walks up, one below -0.75
// walks down). Read as they come, every stick would steer upside down.
constexpr JoystickLayout kStandardLayout = {
    {kAxis | 0, kAxisNegated | 1, kButton | 6, kAxis | 2, kAxisNegated | 3, kButton | 7},
    {1, 2, 0, 3, 4, 5, 8, 9, 15, 12, 13, 14, 10, 11},
};

// The pad: 5 axes and 14 buttons, triggers on one shared axis.
constexpr JoystickLayout kPadLayout = {
    {kAxis | 0, kAxisNegated | 1, kAxis | 2, kAxis | 4, kAxisNegated | 3, kAxisNegated | 2},
    {0, 1, 2, 3, 4, 5, 6, 7, 13, 10, 11, 12, 8, 9},
};

// Every pad with a known mapping, in the gamepad numbering. Its sticks report down as positive,
// as raw joysticks do, and its triggers rest at -1.
constexpr JoystickLayout kGamepadLayout = {
    {kAxis | BBGamepadReading::kLeftX, kAxisNegated | BBGamepadReading::kLeftY,
     kAxisHalfUp | BBGamepadReading::kLeftTrigger, kAxis | BBGamepadReading::kRightX,
     kAxisNegated | BBGamepadReading::kRightY, kAxisHalfUp | BBGamepadReading::kRightTrigger},
    {BBGamepadReading::kA, BBGamepadReading::kB, BBGamepadReading::kX, BBGamepadReading::kY,
     BBGamepadReading::kLeftBumper, BBGamepadReading::kRightBumper, BBGamepadReading::kBack,
     BBGamepadReading::kStart, BBGamepadReading::kDpadLeft, BBGamepadReading::kDpadUp,
     BBGamepadReading::kDpadRight, BBGamepadReading::kDpadDown, BBGamepadReading::kLeftThumb,
     BBGamepadReading::kRightThumb},
};

bool ButtonPressed(std::span<const unsigned char> buttons, int index) {
    return index < static_cast<int>(buttons.size()) && buttons[index] == kJoystickButtonPressed;
}

float SourceValue(int source, std::span<const float> axes, std::span<const unsigned char> buttons) {
    int index = source & 0x0f;
    if (source & kButton)
        return ButtonPressed(buttons, index) ? 1.0f : 0.0f;
    float axis = index < static_cast<int>(axes.size()) ? axes[index] : 0.0f;
    if (source & kAxisHalfUp)
        return (1 + axis) * 0.5f;
    if (source & kAxisHalfDown)
        return (1 - axis) * 0.5f;
    if (source & kAxisNegated)
        return -axis;
    return axis;
}

void Store(std::span<float> values, int index, float value) {
    if (index < static_cast<int>(values.size()))
        values[index] = value;
}

void ApplyLayout(const JoystickLayout& layout, std::span<const float> axes,
                 std::span<const unsigned char> buttons, std::span<float> joyx,
                 std::span<float> joyy, std::span<float> joyz, std::span<bool> gameButtons) {
    const std::span<float> targets[3] = {joyx, joyy, joyz};
    for (int i = 0; i < 6; ++i)
        Store(targets[i % 3], i / 3, SourceValue(layout.outputs[i], axes, buttons));
    std::fill(gameButtons.begin(), gameButtons.end(), false);
    for (int i = 0; i < 14 && i < static_cast<int>(gameButtons.size()); ++i)
        gameButtons[i] = ButtonPressed(buttons, layout.buttons[i]);
}

} // namespace

void bb_input_ApplyJoystickLayout(std::span<const float> axes,
                                  std::span<const unsigned char> buttons, std::span<float> joyx,
                                  std::span<float> joyy, std::span<float> joyz,
                                  std::span<bool> gameButtons) {
    const JoystickLayout& layout =
        (axes.size() == 5 && buttons.size() == 14) ? kPadLayout : kStandardLayout;
    ApplyLayout(layout, axes, buttons, joyx, joyy, joyz, gameButtons);
}

void bb_input_ApplyGamepadLayout(const BBGamepadReading& reading, std::span<float> joyx,
                                 std::span<float> joyy, std::span<float> joyz,
                                 std::span<bool> gameButtons) {
    ApplyLayout(kGamepadLayout, reading.axes, reading.buttons, joyx, joyy, joyz, gameButtons);
}

int BBJoystickPorts::CountJoysticks(bool update) {
    if (!update && _joysticksCounted)
        return _joyCount;
    // Marked first: a change the source reports while it is being scanned (a page's source
    // notices pads as it is asked) brings another scan next time.
    _joysticksCounted = true;
    _joyCount = 0;
    for (int jid = 0; jid < kSourceIds && _joyCount < kPorts; ++jid) {
        if (_source->Present(jid))
            _joysticks[_joyCount++] = jid;
    }
    return _joyCount;
}

bool BBJoystickPorts::PollJoystick(int port, std::span<float> joyx, std::span<float> joyy,
                                   std::span<float> joyz, std::span<bool> buttons) {
    int count = CountJoysticks(false);
    if (port < 0 || port >= count)
        return false;
    int jid = _joysticks[port];
    BBGamepadReading pad;
    if (_source->Gamepad(jid, &pad)) {
        bb_input_ApplyGamepadLayout(pad, joyx, joyy, joyz, buttons);
        return true;
    }
    int axisCount = 0, buttonCount = 0;
    const float* axes = _source->Axes(jid, &axisCount);
    const unsigned char* pressed = _source->Buttons(jid, &buttonCount);
    if (!axes || !pressed)
        return false;
    bb_input_ApplyJoystickLayout(std::span(axes, static_cast<size_t>(std::max(axisCount, 0))),
                                 std::span(pressed, static_cast<size_t>(std::max(buttonCount, 0))),
                                 joyx, joyy, joyz, buttons);
    return true;
}
