// The replay script: one command a line, read and checked as a whole before anything runs, so a
// mistake on line 40 is reported before the game has started.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

enum class ReplayOp {
    Version, // text: the version of the game that recorded the script
    State,   // text: the state file's content the game will load
    Boot,    // start the game, step until the title screen runs
    Start,   // start the game, no update run
    NewGame, // number: the seed set right after START GAME was activated
    Press,   // number: game key code, key-down before the next update
    Release, // number: game key code, key-up before the next update
    Step,    // number: updates to run
    Until,   // number: the main state to step to
    Shot,    // text: PNG file for the current frame
    Check,   // number: the update just run; hash: its trace line's
    Clock,   // number: milliseconds the game's clock reads in the next update
    Mouse,   // number, number2: the pointer's pixel on the virtual screen
    Joy,     // number: port; axes: its sticks, none when no joystick is there
    Suspend, // the window lost its focus and got it back before the next update
    Data,    // hash: the digest of the data folder the script was recorded with
    Carry,   // carry: what a game on the title holds from the games before it
};

// What a game carries from the games played before it in the same run of the program, put back
// by a kept run's `carry`: the best score, the skis' state, and the title menu's selected line,
// the line its pointer's press began on (-1: none) and whether its stick is back in the middle;
// then what the road and the slope keep from their last visit, since entering them does not set
// it again: the road's dead timer, next state and ambulance's x, the slope's timer, bump and
// previous sub-row.
struct ReplayCarry {
    std::uint32_t hiScore = 0;
    std::uint32_t skiDamage = 0;
    int line = 0;
    int pressedLine = -1;
    bool stickReady = true;
    std::array<int, 3> road{};
    std::array<int, 3> ski{};
};

struct ReplayCommand {
    ReplayOp op;
    int line = 0; // 1-based line of the script
    std::uint32_t number = 0;
    std::string text{};
    std::uint32_t number2 = 0;
    std::uint64_t hash = 0;
    // x, y, z of stick 0, then of stick 1, as the game's joystick port reads them.
    std::optional<std::array<float, 6>> axes{};
    ReplayCarry carry{};
};

struct ReplayParseResult;

// A checked script. It keeps its own text and reads each command again when the run comes to
// it: a recording of hours, read as commands all at once, would take many times its size.
class ReplayScript {
public:
    // Where the next command is read from: a byte offset and the line before it.
    struct Cursor {
        size_t offset = 0;
        int line = 0;
    };

    ReplayScript() = default;
    // The command at `cursor`, which moves past it; none at the end.
    std::optional<ReplayCommand> Next(Cursor& cursor) const;
    // Every command at once, for a short script.
    std::vector<ReplayCommand> Commands() const;
    // The line of the first `shot`, 0 when there is none: a shot needs a folder to go to.
    int ShotLine() const { return _shotLine; }

private:
    friend ReplayParseResult ParseReplayScript(std::string text);
    std::string _text;
    int _shotLine = 0;
};

// The script, or an error message naming the line ("line 3: unknown command 'jump'"). Rules:
// `#` starts a comment that runs to the end of the line; blank lines are ignored; `version`
// comes first if at all; `state` comes at most once and before the game starts; `boot` or `start`
// starts it, once, before any command that runs or inspects the game; key presses may be queued
// before it; a shot's name is a plain file name. `overLimit`: the script passes one of the limits
// below.
struct ReplayParseResult {
    std::optional<ReplayScript> script;
    std::string error;
    bool overLimit = false;
};
ReplayParseResult ParseReplayScript(std::string text);

// The most updates `until` (and `boot`) will run before giving up.
inline constexpr int kReplayUntilLimit = 100000;
// The most updates a script may run, its steps and its `until`s together: a day of play at 60
// updates a second.
inline constexpr std::int64_t kReplayUpdateLimit = 24 * 60 * 60 * 60;
// The longest line, in bytes; a recording's longest, its settings, is a few hundred.
inline constexpr size_t kReplayLineLimit = 4096;

// A stick's value as a recording keeps it: NaN and the subnormals as 0, the rest within -1..1. Its
// line reads back to the very same value.
float ReplayStickValue(float value);

// The script line of a command: "press 40", "joy 0 0.5 -1 0 0 0 0", "check 60 0123456789abcdef".
std::string ReplayCommandText(const ReplayCommand& command);
