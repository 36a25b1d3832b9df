// What the in-process game benchmarks share: a scratch working folder with the game's data beside
// the program, one child process per measurement, and the game booted on a hidden window and
// stepped frame by frame without the wall clock.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "graphics/gxtk_graphics.h"
#include "host/devices.h"

class ReplayHost;
class ReplayRunner;

// Links the game's data folder beside this program (the host reads data/ beside the running
// program), moves into a fresh, empty working folder and sends OpenAL to its null output.
void BenchPrepareGameFolder();

// Runs `measure` in a child process, so that each measurement starts from a fresh game and its
// threads never meet the next one, and returns the numbers it produced (empty if it failed).
std::vector<double> BenchRunInChild(const std::function<std::vector<double>()>& measure);

// Seconds of CPU time used so far by the whole process (every thread) and by the calling thread.
double BenchProcessCpuSeconds();
double BenchThreadCpuSeconds();

// The game in this process on a hidden 640 x 480 window (the replay tool's host: no swap wait,
// a clock that counts updates, the state file in memory). Each Frame is one update and one
// render; loader threads are waited for before each update, so a run is the same every time.
class BenchGame {
public:
    using DeviceFactory = std::unique_ptr<BBGraphicsDevice> (*)();

    // `state` is the state file's content; `makeDevice`, when given, creates the renderer in
    // place of the game's own.
    explicit BenchGame(const std::string& state = {}, DeviceFactory makeDevice = nullptr);
    ~BenchGame();
    BenchGame(const BenchGame&) = delete;
    BenchGame& operator=(const BenchGame&) = delete;

    // Frames until the title runs with its pictures; false if it never does.
    bool ReachTitle();
    void Update();
    // Renders the frame and shows it.
    void Render() {
        Draw();
        Show();
    }
    // The frame rendered (the game's RenderGame), then shown (the buffers swapped).
    void Draw();
    void Show();
    void Frame() {
        Update();
        Render();
    }
    // Frames until the condition holds; false when it has not after `limit` frames.
    bool FramesUntil(const std::function<bool()>& condition, int limit = 20000);
    // A key pressed and released before the next update.
    void Tap(int code);
    void KeyDown(int code);
    void KeyUp(int code);
    // On the title: START GAME, and frames until the road runs.
    bool StartGameToRoad();

    // The renderer's statistics of the last rendered frame.
    const gxtkFrameStats& Stats() const;

private:
    std::unique_ptr<ReplayRunner> _session;
    std::unique_ptr<ReplayHost> _host;
};

// The state file of a game with hard traffic.
inline constexpr const char* kBenchHardState = "Difficulty=2";
// The busiest road: from the title of a game made with kBenchHardState, START GAME, then the level
// raised to 5, where hard traffic allows the most vehicles (20), and frames until that many
// drive. False when the road was not reached.
bool BenchGoToBusiestRoad(BenchGame& game);
// From there the busiest slope: skis granted, the walker standing at the top goes onto the course
// of level 5 (every tree, mogul and gate of it), and frames until its fade-in is over.
bool BenchGoToBusiestSlope(BenchGame& game);
