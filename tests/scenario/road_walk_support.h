// Shared steps of the road scenarios: start a game from the title into the road, fix the random
// seed, and walk the character with the default control keys.
#pragma once

#include <array>
#include <cstdint>

class GameHarness;

// The default control keys: Q up, Z down, I left, P right.
constexpr int kKeyUp = 81;
constexpr int kKeyDown = 90;
constexpr int kKeyLeft = 73;
constexpr int kKeyRight = 80;

// From the title: START GAME, through the fade, until the road screen runs with its sounds
// loaded; then the seed is fixed so that the traffic from here on is always the same.
void StartRoad(GameHarness& game, std::uint32_t seed);
// Clears the road of traffic and stops new vehicles, for walks that must not be hit.
void EmptyTheRoad();
// Holds a control key for `updates` updates, then lets go.
void Walk(GameHarness& game, int key, int updates);

// Pixels of the message banner's bar (128, 64, 384, 16) that are its white or its text's red:
// all of them while a banner is up.
int BannerPixels(GameHarness& game);
