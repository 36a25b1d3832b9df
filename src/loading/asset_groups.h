// The game's asset groups as a whole.
#pragma once

// Gives every asset group global a new, not-started group (the font's glyphs belong to the
// text object and are made with it).
void bb_assetgroups_Init();
