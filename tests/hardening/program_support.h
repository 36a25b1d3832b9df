// Running the real program on a private X server of its own and acting on it with xdotool, so
// that typed keys reach its window whatever other tests do on the shared display.
#pragma once

#include <string>
#include <sys/types.h>
#include <vector>

#include "common/child_process.h"

// An Xvfb server that lives as long as this object.
class PrivateDisplay {
public:
    PrivateDisplay();
    ~PrivateDisplay();
    PrivateDisplay(const PrivateDisplay&) = delete;
    PrivateDisplay& operator=(const PrivateDisplay&) = delete;

    bool ok() const { return ready_; }
    const std::string& name() const { return name_; } // such as ":71"
    // Runs xdotool on this display; its standard output.
    std::string Xdotool(const std::string& arguments) const;
    // Runs a command line on this display; its standard output.
    std::string Run(const std::string& commandLine) const;

private:
    std::string name_;
    pid_t pid_ = -1;
    bool ready_ = false;
};

// The program started in a working folder on a private display.
class GameProcess {
public:
    // `withoutFileAccessOverride`: when run as root, the program is started without the
    // capabilities that let root write past permission bits.
    GameProcess(const PrivateDisplay& display, const std::string& workingFolder,
                bool withoutFileAccessOverride = false);
    ~GameProcess();
    GameProcess(const GameProcess&) = delete;
    GameProcess& operator=(const GameProcess&) = delete;

    // Waits up to `seconds` for the game's window; false when none appeared.
    bool AwaitWindow(double seconds);
    bool Running();
    // Waits up to `seconds` until the window shows the title screen (its menu bar, blue) or the
    // options screen (its heading bar, yellow).
    bool AwaitTitle(double seconds);
    bool AwaitOptions(double seconds);
    // Types the keys (xdotool names, such as "Down Return Escape") into the game's window.
    void Keys(const std::string& keys);
    // Waits up to `seconds` for the program to end by itself; then ends it.
    ChildResult Wait(double seconds);

private:
    // Waits until the mean colour of a region of the window meets an ImageMagick fx condition.
    bool AwaitRegion(const std::string& geometry, const std::string& condition, double seconds);

    const PrivateDisplay& display_;
    pid_t pid_ = -1;
    int out_ = -1;
    std::string window_;
    bool waited_ = false;
};
