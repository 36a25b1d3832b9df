// Runs a replay script against the real game in this process: the script's runner is the run's
// session, and the driver does what it asks for: boots the game on a hidden window, steps the
// updates and renders without the wall clock, writes one trace line per update, and takes
// shots.
#pragma once

#include "replay_host.h"

#include "replay/replay_runner.h"

#include <cstdio>
#include <memory>
#include <string>

class ReplayDriver {
public:
    // Trace lines go to `trace`; shots into the folder `shots` (the command line's --shots).
    ReplayDriver(ReplayScript script, std::FILE* trace, std::string shots = {});
    ~ReplayDriver();

    // 0 when every command ran; 1 when the run could not go on, 3 when the game differs from a
    // recording; the reason in Error().
    int Run();
    const std::string& Error() const { return _runner.Error(); }
    // When the script was recorded by another version of the game: a line saying so.
    std::string VersionWarning() const { return _runner.VersionWarning(); }
    // Whether the game was started (its devices then need closing on the way out).
    bool Booted() const { return _host != nullptr; }

private:
    bool Boot();
    bool Shot(const std::string& name);
    // Runs one update (the runner delivers its input first), writes its line, then renders.
    bool RunUpdate();

    std::FILE* _trace;
    std::string _shots;
    ReplayRunner _runner;
    std::unique_ptr<ReplayHost> _host;
    bool _frameDrawn = false;
};
