// The session of a run that the program's options ask for: the recording of a game, or the
// showing of one; and in play, with or without --record, the keeping of every game.
#pragma once

#include "host/game_session.h"
#include "host/options.h"

#include <memory>
#include <string>

// The keeper of every game, with the recorder for --record; the viewer for --play (a file or a
// link). When its file cannot be used: null, with the reason in `error` and the exit status in
// `status`.
std::unique_ptr<BBGameSession> bbOpenSession(const BBOptions& options, std::string& error,
                                             int& status);
