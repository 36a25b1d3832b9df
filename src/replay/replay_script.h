// The replay script: one command a line, read and checked as a whole before anything runs, so a
// mistake on line 40 is reported before the game has started.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

enum class ReplayOp {
    State,   // text: the state file's content the game will load
    Boot,    // start the game, step until the title screen runs
    NewGame, // number: the seed set right after START GAME was activated
    Press,   // number: game key code, key-down before the next update
    Release, // number: game key code, key-up before the next update
    Step,    // number: updates to run
    Until,   // number: the main state to step to
    Shot,    // text: PNG file for the current frame
};

struct ReplayCommand {
    ReplayOp op;
    int line = 0; // 1-based line of the script
    std::uint32_t number = 0;
    std::string text;
};

struct ReplayScript {
    std::vector<ReplayCommand> commands;
};

// The script, or an error message naming the line ("line 3: unknown command 'jump'"). Rules:
// `#` starts a comment that runs to the end of the line; blank lines are ignored; `state` comes
// at most once and before `boot`; `boot` comes exactly once before any command that runs or
// inspects the game (`newgame`, `step`, `until`, `shot`); key presses may be queued before it.
struct ReplayParseResult {
    std::optional<ReplayScript> script;
    std::string error;
};
ReplayParseResult ParseReplayScript(std::string_view text);

// The most updates `until` (and `boot`) will run before giving up.
inline constexpr int kReplayUntilLimit = 100000;
