// The calls the host makes upward into the game: bbInit and bbMain, defined by the game
// (src/game/init.cpp), and bbOpenSession, defined with the recordings (src/replay/).
#pragma once

#include <memory>
#include <string>

class BBGameSession;
struct BBOptions;

// Gives every module-level global its initial value; tests call it to start from a clean state.
void bbInit();
// Creates the application object, which registers its delegate with the host. Returns 0.
int bbMain();
// The recording or the showing of a game the options ask for; null when they ask for neither.
// When its file cannot be used: null, with the reason in `error` and the exit status in `status`.
std::unique_ptr<BBGameSession> bbOpenSession(const BBOptions& options, std::string& error,
                                             int& status);
