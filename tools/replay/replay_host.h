// The desktop host as the replay tool runs it: the same window, context and dispatch, but a
// hidden window and no waiting for the display. The clock, the state file and the input are the
// script's, through the run's session (ReplayRunner).
#pragma once

#include "host/glfw_game.h"

class ReplayHost : public BBGlfwGame {
public:
    ReplayHost();

    // Full-screen requests become windows of the same size, and every window is hidden.
    void SetDeviceWindow(int width, int height, int flags) override;
    // Stored for the game, never applied: a replay must not wait for the display's refresh.
    void SetSwapInterval(int interval) override;

    // Opens the 640 x 480 window as the frame loop does, then starts the game.
    void Open();
};
