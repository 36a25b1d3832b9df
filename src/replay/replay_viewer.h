// The program's --play: a recording shown in the game's own window at the game's own pace, with
// its sound. The frame loop runs as always and the script feeds each update. The game plays with
// the recording's settings; the display, the pace, the sound and the keys of the showing are the
// watcher's own settings (bb_settings_watcherSettings), whose file is never written. The
// watcher's keys do not reach the game: their music and full-screen keys still work, any other
// key ends the showing, and so does the end of the recording (status 0) or a check that fails
// (status 3).
#pragma once

#include "input/input_device.h"
#include "replay/replay_runner.h"

#include <array>

class ReplayViewer : public ReplayRunner {
public:
    using ReplayRunner::ReplayRunner;

    bool BeforeUpdate() override;
    // The game's state file is the recording's; the watcher's own is read here, as the game
    // starts, for the showing's look, sound and keys.
    String LoadState(BBGame& host) override;
    bool PassKeyEvent(int event, int data) override;
    bool PassMouseEvent(int event, int data, float x, float y) override;
    // The window's focus pauses the showing, not the game, which only hears of the recording's.
    bool PassFocus(bool focused) override;

private:
    // Ends the program: the failure on standard error and its status.
    [[noreturn]] void Stop();
    void ApplyToggles();

    std::array<bool, c_InputDevice::kKeys> _held{};
    bool _toggleMusic = false;
    bool _toggleFullScreen = false;
};
