// The game's joysticks as GLFW reports them, for the host's joystick ports: raw axes and buttons,
// pads with a known mapping, and news of joysticks plugged in or pulled out. What differs between
// the desktop and a page is in glfw_joystick_source_desktop.cpp and glfw_joystick_source_web.cpp.
#pragma once

#include "input/joystick_ports.h"

// GLFW 3.3's gamepad state, which only the desktop's GLFW has.
struct GLFWgamepadstate;

// Reads GLFW's joysticks 0 to 15.
class BBGlfwJoystickSource : public BBJoystickSource {
public:
    // Readies the joysticks for play: on the desktop GLFW first takes the player's own mappings
    // (gamepad_mappings.h); from then on `changed` is called whenever a joystick is plugged in
    // or pulled out (GLFW's joystick callback, and a page's gamepad events too).
    static void Start(void (*changed)());

    bool Present(int jid) override;
    const float* Axes(int jid, int* count) override;
    const unsigned char* Buttons(int jid, int* count) override;
    // A pad GLFW has a mapping for (its gamepad API) on the desktop; in a page, a pad the
    // browser presents in its standard mapping.
    bool Gamepad(int jid, BBGamepadReading* reading) override;

    // The desktop's GLFW gamepad state as a reading.
    static BBGamepadReading Reading(const GLFWgamepadstate& state);

private:
    // The platform's part of Start: the player's own mappings on the desktop, the page's
    // gamepad events in a page.
    static void StartPlatform();
    // Passes on the news of a joystick plugged in or pulled out.
    static void Changed();
};
