// The real host's frame pass on a test's own clock: each pass waits for its updates by moving
// that clock on, never the wall clock, and the test stands in for the window's event pump.
#pragma once

#include "game/game_start.h"
#include "host/game_session.h"
#include "host/glfw_game.h"
#include "input/input_events.h"

#include <functional>
#include <string>

class DrivenHost : public BBGlfwGame {
public:
    DrivenHost() {
        SetClock([this] { return now; });
        SetSleep([this](double seconds) { now += seconds; });
    }
    // Starts the game as the frame loop does, in its 640 x 480 window with the focus, `session`
    // the run's session.
    void Start(BBGameSession& session) {
        bb_host_session = &session;
        std::string error;
        bb_gamestart_Begin(*this, error);
        SetDeviceWindow(640, 480, kResizable | kDecorated);
        StartGame();
        ApplyFocus(true);
    }
    // One pass, with `events` as what the window's event pump delivers in it.
    void Pass(const std::function<void()>& events = {}) {
        _events = events;
        RunPass();
        _events = nullptr;
    }
    // Passes until `done` holds, at most 5000; false if it never did.
    bool PassUntil(const std::function<bool()>& done) {
        for (int pass = 0; pass < 5000; ++pass) {
            if (done())
                return true;
            Pass();
        }
        return false;
    }
    void Key(int glfwKey, int action) { OnKey(_window, glfwKey, 0, action, 0); }
    // The pointer moved to window pixel (x, y), and a mouse button's press or release there, as
    // the window's callbacks hand them on (a real one would ask the window where the pointer is).
    void Cursor(float x, float y) { OnCursorPos(_window, x, y); }
    void Button(int button, bool down, float x, float y) {
        MouseEvent(down ? BBEVENT_MOUSEDOWN : BBEVENT_MOUSEUP, button, x, y);
    }

    double now = 100;

protected:
    void UpdateEvents() override {
        if (_events)
            _events();
    }

private:
    std::function<void()> _events;
};
