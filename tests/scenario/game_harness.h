// Runs the whole game in-process for scenario tests: a real host and window (under Xvfb), the
// game's own bbInit/bbMain, and updates, renders and input events stepped by the test.
#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

class BBZibbetGame;

class GameHarness {
public:
    // Starts the game in a fresh, empty working folder; `stateText`, when given, is written to
    // its state file first (as a previous run would have left it).
    explicit GameHarness(const std::string& stateText = {});
    ~GameHarness();
    GameHarness(const GameHarness&) = delete;
    GameHarness& operator=(const GameHarness&) = delete;

    // One update, as the frame loop runs it.
    void Update(int count = 1);
    // One rendered frame; the picture stays readable with Pixel until the next render.
    void Render();
    // Updates one at a time (yielding to the loader threads) until the condition holds; false
    // when it has not after `maxUpdates`.
    bool UpdateUntil(const std::function<bool()>& condition, int maxUpdates = 200000);
    // Steps through loading, each update after the loads begun before it, until the title screen
    // runs with its picture.
    void WaitForTitle();
    // Waits (without updating) until every loader thread has finished reading its file.
    void AwaitLoaders();

    // A key pressed and released before the next update.
    void Tap(int keyCode);
    void KeyDown(int keyCode);
    void KeyUp(int keyCode);
    // The pointer, in window pixels (the window is 640 x 480, so these are virtual pixels too).
    void MouseMove(float x, float y);
    void MouseDown(float x, float y);
    void MouseUp(float x, float y);

    // The colour of a virtual-screen pixel in the last rendered frame, as (r, g, b).
    std::array<int, 3> Pixel(int x, int y) const;

    // The state file's text ("" when there is none).
    std::string StateFile() const;
    const std::filesystem::path& Folder() const { return m_folder; }

    BBZibbetGame& Host() { return *m_host; }

private:
    std::filesystem::path m_previousFolder;
    std::filesystem::path m_folder;
    std::unique_ptr<BBZibbetGame> m_host;
};

// How many pixels of the rectangle in the last rendered frame have exactly this colour.
int CountPixels(GameHarness& game, int x, int y, int w, int h, std::array<int, 3> colour);
// The rectangle of the last rendered frame, row by row, as (r, g, b) values.
std::vector<std::array<int, 3>> ReadPixels(GameHarness& game, int x, int y, int w, int h);

// Runs a play screen's leaving fade from the update that starts it: a fresh fade shows its first
// band, `firstBand`, in the corner, and hands main state `from` over to `to` after its whole 112
// updates, not sooner.
void ExpectAWholeFadeFrom(GameHarness& game, std::array<int, 3> firstBand, int from, int to);
