// The host's half of the game's start (the game's half is game/game_start.h): what the process
// sets up once, before any host of the game is made.
#pragma once

// GLFW's error callback and GLFW itself, the handlers of fatal signals and the locale of text,
// in that order. False when GLFW cannot start (no display).
bool bb_host_Prepare();
