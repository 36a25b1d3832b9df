// The desktop host as the replay tool runs it: the same window, context and dispatch, but a
// hidden window, no waiting for the display, a clock that counts updates instead of wall time,
// and a state file kept in memory so a replay neither reads nor changes the player's settings.
#pragma once

#include "host/glfw_game.h"

#include <cstdint>

class ReplayHost : public BBGlfwGame {
public:
    // `state` is what LoadState returns: the content of the state file for this run.
    explicit ReplayHost(String state);

    // Updates run so far (each call of UpdateGame while the game runs counts one).
    std::int64_t Updates() const { return _updates; }

    // 1000/60 ms per update, whatever the game's update rate: the title screen seeds the random
    // generator from this clock, so a replay must not see the real one.
    int Millisecs() override;
    String LoadState() override;
    // Kept in memory for the rest of the run; reports success.
    int SaveState(const String& state) override;
    // Full-screen requests become windows of the same size, and every window is hidden.
    void SetDeviceWindow(int width, int height, int flags) override;
    // Stored for the game, never applied: a replay must not wait for the display's refresh.
    void SetSwapInterval(int interval) override;
    void UpdateGame() override;

    // Opens the 640 x 480 window as the frame loop does, then starts the game.
    void Open();

private:
    String _state;
    std::int64_t _updates = 0;
};
