// Runs a replay script against the real game in this process: boots it on a hidden window, then
// steps updates and renders without the wall clock, delivering the scripted key events and
// writing one trace line per update.
#pragma once

#include "replay_host.h"
#include "replay_script.h"

#include <cstdio>
#include <memory>
#include <string>
#include <utility>
#include <vector>

class ReplayDriver {
public:
    // Trace lines go to `trace`.
    explicit ReplayDriver(std::FILE* trace) : _trace(trace) {}

    // 0 when every command ran; otherwise 1, with the reason in Error().
    int Run(const ReplayScript& script);
    const std::string& Error() const { return _error; }
    // Whether the game was started (its devices then need closing on the way out).
    bool Booted() const { return _host != nullptr; }

private:
    bool Execute(const ReplayCommand& command);
    bool Boot();
    bool NewGame(std::uint32_t seed);
    bool StepUntil(int mainState, const char* what);
    bool Shot(const std::string& path);
    // Delivers the queued key events, runs one update, writes its line, then renders.
    bool RunUpdate();
    void DeliverKeys();
    std::vector<int> KeysDown() const;
    bool Fail(const std::string& message);

    std::FILE* _trace;
    std::unique_ptr<ReplayHost> _host;
    String _state;
    // (host event, key code) pairs waiting for the next update.
    std::vector<std::pair<int, int>> _pendingKeys;
    bool _frameDrawn = false;
    int _line = 0;
    std::string _error;
};

// Blocks until every loader thread the game has started has finished, so each completion is
// delivered at the first poll after its load began, however fast the machine is. False when a
// thread is still running after a minute.
bool WaitForLoaders();
