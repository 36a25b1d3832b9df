// The concrete host of this game: the desktop host plus the program's start-up sequence.
#pragma once

#include "host/glfw_game.h"

class BBZibbetGame : public BBGlfwGame {
public:
    // Initialises GLFW, creates the host, runs bbInit and bbMain, then the frame loop; a loop
    // that ends ends the program as quitting does.
    static int Main(int argc, char* argv[]);
};

// The program's arguments, kept as the runtime expects them.
extern int bb_host_argc;
extern char** bb_host_argv;
