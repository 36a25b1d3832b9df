// Plays a replay script into the game update by update, as the run's session: the scripted key
// events, focus losses, pointer and joysticks reach the game before the update they belong to,
// the game's clock and state file are the script's, loads are waited for, and the checks of a
// recording are compared. skiddlewick-replay asks it for each next step and runs the updates
// itself; the program's --play (ReplayViewer) asks from inside its frame loop.
#pragma once

#include "host/game_session.h"
#include "input/input_device.h"
#include "replay/replay_joystick.h"
#include "replay/replay_script.h"

#include <array>
#include <cstdint>
#include <deque>
#include <optional>
#include <string>
#include <utility>
#include <vector>

enum class ReplayStep {
    Start,  // the game is to be started now (`boot`, `start`)
    Shot,   // the last frame is to be written as a picture (ShotFile)
    Update, // one update is due
    End,    // the script is over
    Failed, // the run cannot go on: Status and Error say why
};

class ReplayRunner : public BBGameSession {
public:
    explicit ReplayRunner(ReplayScript script);

    // Runs commands up to the next thing its caller must do.
    ReplayStep Next();
    const std::string& ShotFile() const { return _shotFile; }
    // Updates run so far, counted from 0 again by a `carry`: the number of the last one's trace
    // line.
    std::int64_t Updates() const { return _updates; }
    // The trace line of the update just run.
    const std::string& LastLine();

    // 1 when the run cannot go on, 3 when the game differs from the recording; 0 while neither.
    int Status() const { return _status; }
    // "line N: why", N the line of the command that was running.
    const std::string& Error() const { return _error; }
    // Stops the run with `status` and the reason; returns false.
    bool Fail(int status, const std::string& message);
    // When the script was recorded by another version of the game, or with other game data: a
    // line saying so.
    std::string VersionWarning() const;

    bool BeforeUpdate() override;
    void InputPolled() override;
    void AfterUpdate() override;
    int Clock(int hostMillisecs) override;
    String LoadState(BBGame& host) override;
    int SaveState(BBGame& host, const String& state) override;
    // The ports that hold a joystick, filled in order: those up to the first without one.
    int CountJoysticks(bool update) override;
    bool PollJoystick(int port, std::span<float> joyx, std::span<float> joyy, std::span<float> joyz,
                      std::span<bool> buttons) override;

protected:
    // True while the runner hands the script's own events to the game.
    bool Delivering() const { return _delivering; }

private:
    // What the game is handed before an update: a key event, or a focus loss.
    struct Event {
        int event = 0; // BBEVENT_KEYDOWN or BBEVENT_KEYUP
        int code = 0;
        bool focusLoss = false; // the window's focus lost and got back; no key
    };

    // The step a command asks its caller for; none when the script simply goes on.
    std::optional<ReplayStep> Execute(const ReplayCommand& command);
    bool StartNewGame(std::uint32_t seed);
    // After a `newgame` update: START GAME must have been taken, and the seed is set.
    bool FinishNewGame();
    // Whether an `until` (or `boot`) still waits; fails past the limit.
    bool Waiting();
    // Whether a `carry` still waits for the title's menu; once it takes input, the carried state
    // is put back and the updates are counted from 0 again.
    bool Carrying();
    // Counts one more update of an `until`, `boot` or `carry`; fails past the limit.
    bool WaitOneMore(const std::string& what);
    void Key(int event, int code);
    bool Check(const ReplayCommand& command);
    void DeliverEvents();
    // Moves the pointer where the script put it, when the game would see it elsewhere.
    void PlacePointer();

    // An update is due: Update, or Failed past the most a script may run.
    ReplayStep UpdateDue();

    ReplayScript _script;
    ReplayScript::Cursor _cursor;
    int _line = 0;
    std::uint32_t _stepsLeft = 0;
    std::optional<int> _untilState;
    const char* _untilName = "";
    int _untilCount = 0;
    std::optional<ReplayCarry> _carry;
    std::optional<std::uint32_t> _newGameSeed;
    std::vector<Event> _events;
    std::deque<int> _clock;
    std::pair<int, int> _pointer{0, 0};
    ReplayJoysticks _joysticks{};
    String _state;
    std::int64_t _updates = 0;
    // Every update run, for the limit.
    std::int64_t _ran = 0;
    std::vector<int> _keys;
    std::optional<std::string> _lastLine;
    bool _delivering = false;
    std::string _shotFile;
    int _status = 0;
    std::string _error;
};
