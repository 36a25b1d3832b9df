// The program's --record: the game played as always, written as it goes into a replay script
// that skiddlewick-replay and --play play back to the same game. The file takes the settings,
// every key that changed for the game at the update it reached it, each clock reading (a new
// game's seed), focus losses, the pointer, the joysticks, and every 60 updates a check of the
// game's state. Loads are waited for before each update, as the replay does, so that they
// finish after the same number of updates in both.
#pragma once

#include "host/game_session.h"
#include "input/input_device.h"
#include "replay/replay_joystick.h"
#include "replay/replay_script.h"

#include <array>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>
#include <utility>
#include <vector>

class ReplayRecorder : public BBGameSession {
public:
    // Updates between two checks.
    static constexpr int kCheckInterval = 60;

    // Starts the file at `path` with its version line; null, with the reason in `error`, when it
    // cannot be written.
    static std::unique_ptr<ReplayRecorder> Open(const std::string& path, std::string& error);
    ~ReplayRecorder() override;

    bool BeforeUpdate() override;
    void InputPolled() override;
    void AfterUpdate() override;
    bool PassKeyEvent(int event, int data) override;
    bool PassMouseEvent(int event, int data, float x, float y) override;
    bool PassFocus(bool focused) override;
    int Clock(int hostMillisecs) override;
    int CountJoysticks(bool update) override;
    bool PollJoystick(int port, std::span<float> joyx, std::span<float> joyy, std::span<float> joyz,
                      std::span<bool> buttons) override;
    // Writes the updates not yet written, with the one the program ends in, if any.
    void Close() override;
    // The same, ready-made, for a fatal signal: the replay then meets the same fault.
    void CloseOnSignal() override;
    // The file could not be written on: the recording ended there, the game went on.
    bool Failed() const override { return _failed; }

private:
    ReplayRecorder(std::FILE* file, std::string path);
    // The settings and the start, once, before anything else the game does.
    void Begin();
    // An input change: written at once between updates, after the update when it comes inside
    // one (a new window's key-ups), since the game has read its input for that update already.
    void Record(ReplayCommand command);
    void RecordKey(int event, int code);
    void RecordPointer();
    // Writes the updates run since the last line as one `step`, then the command.
    void Write(const ReplayCommand& command);
    void WriteSteps();
    void WriteLine(const std::string& line);
    // Keeps the `step` line Close would write ready for CloseOnSignal.
    void PrepareSignalSteps();

    std::FILE* _file;
    int _fd;
    std::string _path;
    std::array<char, 32> _signalSteps{};
    int _signalStepsLength = 0;
    bool _begun = false;
    bool _inUpdate = false;
    bool _focusLost = false;
    bool _closed = false;
    bool _failed = false;
    std::int64_t _updates = 0;
    std::int64_t _unwrittenSteps = 0;
    std::vector<ReplayCommand> _deferred;
    std::pair<int, int> _pointer{0, 0};
    ReplayJoysticks _joysticks{};
    std::vector<int> _keys;
};
