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
#include <atomic>
#include <cstdint>
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
    // Writes the updates not yet written and a check of the last one, so that a replay can tell
    // it has the whole game; once, whoever comes first, this or CloseOnSignal. An update the
    // program ends inside is not written: it has no state to check.
    void Close() override;
    // The same lines, prepared after each update, for a signal's handler.
    void CloseOnSignal() override;
    // 1 for a clean exit when the recording could not be written to the end.
    int ExitStatus(int status) const override;

private:
    // The lines Close writes, ready before any signal can ask for them.
    struct Ending {
        std::array<char, 96> text{};
        size_t length = 0;
    };

    ReplayRecorder(int fd, std::string path);
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
    // Reports the first failed write, once, and stops the recording at its last whole line.
    void Stop(int error);
    // Fills the ending not in use and then hands it over: a signal on another thread always finds
    // a whole one. Nothing changes once the recording is closed.
    void PrepareEnding();
    void WriteEnding();

    int _fd;
    std::string _path;
    std::array<Ending, 2> _endings{};
    std::atomic<int> _ending{0};
    std::atomic<bool> _closed{false};
    std::atomic<bool> _stopped{false};
    int _error = 0;
    // Bytes of whole lines in the file, where a failed write is cut back to, and the updates
    // those lines hold.
    std::int64_t _size = 0;
    std::int64_t _written = 0;
    bool _begun = false;
    bool _inUpdate = false;
    bool _focusLost = false;
    std::int64_t _updates = 0;
    std::int64_t _unwrittenSteps = 0;
    // The hash of the last update's trace line, and the last update a check was written for.
    std::uint64_t _lastHash = 0;
    std::int64_t _checked = 0;
    std::vector<ReplayCommand> _deferred;
    std::pair<int, int> _pointer{0, 0};
    ReplayJoysticks _joysticks{};
    std::vector<int> _keys;
};
