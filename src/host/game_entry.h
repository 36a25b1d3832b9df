// The two calls the host makes upward into the game, defined by the game (src/game/init.cpp).
#pragma once

// Gives every module-level global its initial value; tests call it to start from a clean state.
void bbInit();
// Creates the application object, which registers its delegate with the host. Returns 0.
int bbMain();
