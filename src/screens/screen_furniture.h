// What the screens share on screen: the grey page and yellow heading of the options and
// redefine-keys menus, and for the play screens the status line with cash, score and hi-score,
// the message banner across the top of the play area, the pause notice and the play area's clip.
#pragma once

#include "runtime/string.h"

// Clears the screen to grey and draws the 15-character heading in red on a yellow bar at
// (200, 64, 240, 16), as the options and redefine-keys screens open.
void bb_furniture_DrawMenuHeading(const String& heading);

// "CASH $", "SCORE" and "HI" with their numbers, black, at y 48. Negative money shows "0".
void bb_furniture_DrawStatusLine();

// A white bar at (128, 64, 384, 16) with the 24-character text flashing on it in the colour.
void bb_furniture_DrawBanner(const String& text, float r, float g, float b);

// A white bar in the middle of the screen with "*** PAUSED ***" flashing in blue.
void bb_furniture_DrawPausedNotice();

// Clips drawing to the play area, (64, 48, 512, 384), until bb_autofit_UnsetVScissor.
void bb_furniture_ClipToPlayArea();
