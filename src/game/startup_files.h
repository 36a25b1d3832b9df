// The image and sound files the game's start decodes before the title, which the host decodes
// ahead while it opens the window.
#pragma once

#include "host/devices.h"

// In the order the start asks for them: the renderer's default font as the renderer is made,
// then the loads the first update starts. The sprite atlas and the backdrops are not among them:
// START GAME loads them, after the start.
BBStartupFiles bb_startupfiles_List();
// Hands the list to the host (bb_app_deviceHooks.startupFiles); part of bbInit.
void bb_startupfiles_Install();
