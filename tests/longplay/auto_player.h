// The long play's automatic player: before every update it decides what a restless player would
// do on the current screen (a plan that visits every screen, seeded random noise on top: pauses,
// the music and full-screen keys, window resizes, stray keys, mouse clicks, lost focus).
#pragma once

#include <cstdint>
#include <random>
#include <set>

class GameHarness;

// Resizes the game's window as a player dragging its corner would, and waits until the host has
// seen the new size; false when it has not within a second.
bool SetWindowSize(GameHarness& game, int width, int height);

class AutoPlayer {
public:
    AutoPlayer(GameHarness& game, std::uint32_t seed);

    // Delivers this update's input; returns the key codes pressed for it.
    const std::set<int>& Act();
    // Called after every update, to notice screens being entered.
    void Observe();

    // Games started, window resizes the host saw and full-screen switches made so far.
    int GamesStarted() const { return m_gamesStarted; }
    int Resizes() const { return m_resizes; }
    int FullScreenSwitches() const { return m_fullScreenSwitches; }

private:
    bool Chance(double p);
    int Between(int low, int high);
    void Press(int code);
    void Tap(int code);
    void Hold(int code);
    void ReleaseHeld();

    void Noise();
    void ResizeWindow();
    void LoseFocus();
    void OnTitle();
    void OnOptions();
    void OnRedefineKeys();
    void OnRoad();
    void OnSki();
    // The x the skier steers for: the next finish banner or gate below it; -1 when none.
    int SkiAim() const;
    void OnNoMoney();
    // Moves the menu's selection one line towards `item` per call; activates it once there.
    void SteerMenu(int selected, int item);
    int FreeLetterFor(int control);
    // The control that takes the walker on its way (-1: there already), and the key to hold.
    int RoadHeading();
    int RoadDirectionKey();

    GameHarness& m_game;
    std::mt19937 m_random;
    std::set<int> m_hit;
    int m_held = 0;       // the key held down, 0 for none
    int m_holdFor = 0;    // updates left to keep holding it (ski steering, road detours)
    int m_wait = 0;       // updates to dwell before the next menu action
    int m_lastState = -1; // main state seen after the last update
    bool m_mouseDown = false;
    // The plan for the current visit of a menu screen.
    int m_target = -1;             // menu line to activate
    int m_changes = 0;             // options lines still to change / keys still to redefine
    bool m_redefined = false;      // this visit of the options has been to the key screen
    bool m_visitedOptions = false; // the options have been seen at all
    bool m_careful = false;        // this crossing dodges the traffic, this ski run the trees
    // Road detour to a random point, to reach the walker's limits.
    bool m_detour = false;
    int m_detourX = 0;
    int m_detourY = 0;
    int m_gamesStarted = 0;
    int m_resizes = 0;
    int m_fullScreenSwitches = 0;
};
