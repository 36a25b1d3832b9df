// What a game on the title carries from the games before it in the same run of the program (the
// best score, the skis, the title menu's own state, what the road and the slope left), read from
// the running game by the run keeper and put back by a kept run's `carry` in a fresh one.
#pragma once

#include "replay/replay_script.h"

// The carried state of the running game, which is on the title.
ReplayCarry ReadTitleCarry();
// Puts it into the running game, whose title's menu takes input.
void ApplyTitleCarry(const ReplayCarry& carry);
