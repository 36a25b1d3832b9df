// The host's joystick port table: up to four present joysticks, found again whenever a joystick
// is plugged in or pulled out, and the layouts that turn one joystick's readings into the game's
// view of it: one table for every pad with a known mapping, two for raw joysticks.
#pragma once

#include <array>
#include <span>

// A raw button reads this value while held (and 0 while released), as the window system reports it.
constexpr unsigned char kJoystickButtonPressed = 1;

// A pad with a known mapping, read in the gamepad numbering that GLFW's gamepad API and the
// community mapping database share: the host fills it from GLFW's gamepad state on the desktop
// and from the browser's standard mapping in a page.
struct BBGamepadReading {
    enum Button : int {
        kA,
        kB,
        kX,
        kY,
        kLeftBumper,
        kRightBumper,
        kBack,
        kStart,
        kGuide,
        kLeftThumb,
        kRightThumb,
        kDpadUp,
        kDpadRight,
        kDpadDown,
        kDpadLeft,
        kButtons
    };
    enum Axis : int { kLeftX, kLeftY, kRightX, kRightY, kLeftTrigger, kRightTrigger, kAxes };

    // Sticks from -1 to 1 with y positive for down; triggers from -1 at rest to 1 pulled.
    std::array<float, kAxes> axes{0, 0, 0, 0, -1, -1};
    // kJoystickButtonPressed while held.
    std::array<unsigned char, kButtons> buttons{};
};

// Where joystick presence, axes and buttons come from: the host's window system in the game
// (BBGlfwJoystickSource), a fake in tests. Ids run from 0 to BBJoystickPorts::kSourceIds - 1.
class BBJoystickSource {
public:
    virtual ~BBJoystickSource() = default;
    virtual bool Present(int jid) = 0;
    // Null when the joystick reports no axes (or buttons); *count is then unspecified.
    virtual const float* Axes(int jid, int* count) = 0;
    virtual const unsigned char* Buttons(int jid, int* count) = 0;
    // Reads a joystick that has a known mapping as a pad; false for one without, whose raw axes
    // and buttons then go through the two raw layouts.
    virtual bool Gamepad(int /*jid*/, BBGamepadReading* /*reading*/) { return false; }
};

class BBJoystickPorts {
public:
    static constexpr int kPorts = 4;
    static constexpr int kSourceIds = 16;

    explicit BBJoystickPorts(BBJoystickSource* source) : _source(source) {}

    // Another source's joysticks are counted afresh at the next poll.
    void SetSource(BBJoystickSource* source) {
        _source = source;
        _joysticksCounted = false;
    }
    // The stored count unless asked to update, never counted, or told of a change since;
    // counting scans ids 0..15 and fills the ports in that order.
    int CountJoysticks(bool update);
    // A joystick was plugged in or pulled out: the next count scans again.
    void JoysticksChanged() { _joysticksCounted = false; }
    // Fills elements 0 and 1 of joyx/joyy/joyz and the game buttons; false for a port with no
    // joystick or one whose axes or buttons are unavailable.
    bool PollJoystick(int port, std::span<float> joyx, std::span<float> joyy, std::span<float> joyz,
                      std::span<bool> buttons);

private:
    BBJoystickSource* _source;
    int _joysticks[kPorts] = {0, 0, 0, 0};
    int _joyCount = 0;
    bool _joysticksCounted = false;
};

// Applies the standard or the pad layout (chosen by 5 axes and 14 buttons) to raw readings.
// Indices the joystick does not report read as 0 / released.
void bb_input_ApplyJoystickLayout(std::span<const float> axes,
                                  std::span<const unsigned char> buttons, std::span<float> joyx,
                                  std::span<float> joyy, std::span<float> joyz,
                                  std::span<bool> gameButtons);
// Applies the one table of known pads: the left stick is x0/y0 and the right x1/y1 (y positive
// for up), the triggers z0/z1 (0 at rest to 1), A B X Y game buttons 0 to 3, the shoulders 4
// and 5, Back 6, Start 7, the D-pad 8 to 11 (left, up, right, down), the stick clicks 12 and 13.
void bb_input_ApplyGamepadLayout(const BBGamepadReading& reading, std::span<float> joyx,
                                 std::span<float> joyy, std::span<float> joyz,
                                 std::span<bool> gameButtons);
