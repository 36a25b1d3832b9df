// The concrete host of this game: the desktop host, and what the process needs before any host
// of the game is made.
#pragma once

#include "host/glfw_game.h"

class BBZibbetGame : public BBGlfwGame {
public:
    // GLFW's error callback and GLFW itself, the handlers of fatal signals and the locale of
    // text, in that order. False when GLFW cannot start (no display).
    static bool Prepare();
};
