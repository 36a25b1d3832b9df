// The program's --play: a recording shown in the game's own window at the game's own pace, with
// its sound. The frame loop runs as always and the script feeds each update; the viewer's own
// keys do not reach the game: the music and full-screen keys still work, any other key ends the
// showing, and so does the end of the recording (status 0) or a check that fails (status 3).
#pragma once

#include "input/input_device.h"
#include "replay/replay_runner.h"

#include <array>

class ReplayViewer : public ReplayRunner {
public:
    using ReplayRunner::ReplayRunner;

    bool BeforeUpdate() override;
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
