// A player's own pad mappings for GLFW, in the community database's line format: the
// SDL_GAMECONTROLLERCONFIG environment variable (how launchers hand a player's mapping to a game)
// and a gamecontrollerdb.txt in the player's config folder (beside the state file) and in the
// folder the game starts in. The desktop's alone: a page's pads are mapped by its browser.
#pragma once

#include <string_view>

// The file read in the config folder and in the starting folder.
constexpr const char* kGamepadMappingsFile = "gamecontrollerdb.txt";

// Hands GLFW (initialised) the variable's mappings, then the config folder's file, then the
// starting folder's (the same file is read once): a later one wins where two map one pad. Returns
// how many lines it took.
int bb_host_LoadGamepadMappings();
// Hands GLFW the lines of `text` one at a time, so that a bad line is known by its number and
// costs nothing but itself. Blank lines and "#" comments are passed over; a line that is no
// mapping, or that GLFW refuses, is reported once on standard error as "<origin> line <n>: ..."
// and skipped. Returns how many lines GLFW took.
int bb_host_AddGamepadMappings(std::string_view text, std::string_view origin);
