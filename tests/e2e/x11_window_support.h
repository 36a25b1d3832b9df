// Finding the game's window on the test display and acting on it as a window manager would,
// through Xlib: its title, size and owner, and the close button (WM_DELETE_WINDOW).
#pragma once

#include <array>
#include <optional>
#include <string>
#include <sys/types.h>
#include <vector>

#include "common/child_process.h"

// Xlib stays out of this header: its macros (None, Bool, ...) clash with test frameworks.
struct _XDisplay;

struct GameWindow {
    unsigned long id = 0; // the X window
    std::string title;
    int width = 0;
    int height = 0;
    bool viewable = false;
};

class TestDisplay {
public:
    TestDisplay();
    ~TestDisplay();
    TestDisplay(const TestDisplay&) = delete;
    TestDisplay& operator=(const TestDisplay&) = delete;

    bool ok() const { return display_ != nullptr; }
    // The mapped top-level window that process `pid` owns, if there is one now.
    std::optional<GameWindow> FindWindowOf(pid_t pid);
    // Waits (up to `seconds`) for that window to be mapped and wider than `widerThan` pixels (a
    // program may open a first window and then reopen it full screen).
    std::optional<GameWindow> AwaitWindowOf(pid_t pid, double seconds, int widerThan = 0);
    // The colour of one pixel of the window's contents, as red, green, blue from 0 to 255.
    std::optional<std::array<int, 3>> PixelAt(unsigned long window, int x, int y);
    // What the close button does: asks the window's owner to close it.
    void SendClose(unsigned long window);
    // From now on, notes every top-level window that is shown on the display.
    void WatchShownWindows();
    // The size of each window shown since WatchShownWindows, as it was when shown, in order.
    std::vector<std::array<int, 2>> ShownSizes();

private:
    _XDisplay* display_ = nullptr;
};

// A program started for a window test: its process, the descriptor of its captured output, and
// its window.
struct WindowedProgram {
    pid_t pid = -1;
    int out = -1;
    std::optional<GameWindow> window;
};

// Starts the program and waits (up to `seconds`) for its window, wider than `widerThan`. A
// program whose window does not appear is killed, and comes back without one.
WindowedProgram StartWithWindow(TestDisplay& display, const ProgramRun& run, double seconds,
                                int widerThan = 0);
