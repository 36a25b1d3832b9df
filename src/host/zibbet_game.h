// The concrete host of this game: the desktop host as the program runs it. The process is made
// ready for it by bb_host_Prepare (host/host_start.h), and the game started on it by
// game/game_start.h.
#pragma once

#include "host/glfw_game.h"

class BBZibbetGame : public BBGlfwGame {};
