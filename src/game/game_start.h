// The one start of the game, for the program, the replay tool and the benchmarks: the process
// prepared, the host made, the game's globals and application. What follows differs, so it is
// the caller's: the program's frame loop opens the window and starts the game; the tools open a
// hidden one and step the updates themselves.
#pragma once

#include "host/bb_game.h"
#include "host/host_start.h"

#include <memory>
#include <string>

// bbInit and bbMain on the host just made; an exception the game throws there ends in the
// host's Die. False, with the reason in `error`, when the game made no application.
bool bb_gamestart_Begin(BBGame& host, std::string& error);

// The whole start on a new host of type Host (BBZibbetGame, or a host derived from BBGlfwGame):
// bb_host_Prepare, the host, then bb_gamestart_Begin. No window is open yet and the game is
// not started. Null, with the reason in `error`, when GLFW cannot start or the game made no
// application.
template <class Host> std::unique_ptr<Host> bb_gamestart_Start(std::string& error) {
    if (!bb_host_Prepare()) {
        error = "glfwInit failed";
        return nullptr;
    }
    auto host = std::make_unique<Host>();
    if (!bb_gamestart_Begin(*host, error))
        return nullptr;
    return host;
}
