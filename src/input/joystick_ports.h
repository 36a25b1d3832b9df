// The host's joystick port table: up to four present joysticks, found once, and the two button
// and axis layouts that turn one joystick's raw axes and buttons into the game's view of it.
#pragma once

#include <span>

// A raw button reads this value while held (and 0 while released), as the window system reports it.
constexpr unsigned char kJoystickButtonPressed = 1;

// Where joystick presence, axes and buttons come from: the host's window system in the game
// (BBGlfwJoystickSource), a fake in tests. Ids run from 0 to BBJoystickPorts::kSourceIds - 1.
class BBJoystickSource {
public:
    virtual ~BBJoystickSource() = default;
    virtual bool Present(int jid) = 0;
    // Null when the joystick reports no axes (or buttons); *count is then unspecified.
    virtual const float* Axes(int jid, int* count) = 0;
    virtual const unsigned char* Buttons(int jid, int* count) = 0;
};

class BBJoystickPorts {
public:
    static constexpr int kPorts = 4;
    static constexpr int kSourceIds = 16;

    explicit BBJoystickPorts(BBJoystickSource* source) : _source(source) {}

    void SetSource(BBJoystickSource* source) { _source = source; }
    // The stored count unless asked to update or never counted; counting scans ids 0..15.
    int CountJoysticks(bool update);
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
