// The calls the host makes upward into the game: bbInit, bbMain and bbFirstWindow, defined by
// the game (src/game/init.cpp), and bbOpenSession, defined with the recordings (src/replay/).
#pragma once

#include <memory>
#include <string>

class BBGameSession;
struct BBOptions;

// Gives every module-level global its initial value; tests call it to start from a clean state.
void bbInit();
// Creates the application object, which registers its delegate with the host. Returns 0.
int bbMain();
// A window as SetDeviceWindow takes it: size in pixels and BBGame::WindowFlags.
struct BBWindowRequest {
    int width = 640;
    int height = 480;
    int flags = 0;
};
// The window the game will ask for once it starts (its saved display, or the command line's),
// read before the frame loop opens the first one, so that no other window shows meanwhile.
BBWindowRequest bbFirstWindow();
// The recording or the showing of a game the options ask for; null when they ask for neither.
// When its file cannot be used: null, with the reason in `error` and the exit status in `status`.
std::unique_ptr<BBGameSession> bbOpenSession(const BBOptions& options, std::string& error,
                                             int& status);
