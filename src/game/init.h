// The game's own start: its globals and its application.
#pragma once

// Gives every module-level global its initial value; tests call it to start from a clean state.
void bbInit();
// Creates the application object, which registers its delegate with the host. Returns 0.
int bbMain();
