// The four walking and skiing directions as the player asks for them: the control key, the first
// joystick's stick pushed past the threshold, or its direction pad.
#pragma once

// How far the stick must be pushed before it counts as a direction (the menu uses it too).
constexpr float bb_steering_StickThreshold = 0.75f;

bool bb_steering_Right();
bool bb_steering_Left();
bool bb_steering_Down();
bool bb_steering_Up();
