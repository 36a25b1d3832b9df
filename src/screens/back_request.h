// Going back as the player asks for it: Escape, or the first joystick's Back, which does on
// every screen what Escape does there (leaves the title, the road, the slope and the menus).
#pragma once

// Whether Escape or the first joystick's Back was hit this update.
bool bb_back_Hit();
