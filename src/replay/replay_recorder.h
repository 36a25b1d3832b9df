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
    // The same two answers when another session has asked the host already: the joysticks are
    // polled once an update, whoever records them.
    void NoteCount(int count);
    bool NotePoll(int port, bool present, std::span<float> joyx, std::span<float> joyy,
                  std::span<float> joyz, std::span<bool> buttons);
    // Writes the updates not yet written and a check of the last one, so that a replay can tell
    // it has the whole game; once, whoever comes first, this or CloseOnSignal. An update the
    // program ends inside is not written: it has no state to check.
    void Close() override;
    // The same lines, prepared after each update, for a signal's handler.
    void CloseOnSignal() override;
    // 1 for a clean exit when the recording could not be written to the end.
    int ExitStatus(int status) const override;

protected:
    // A recorder writing to `fd` (-1: none yet, see Attach), called `path` in messages.
    ReplayRecorder(int fd, std::string path);

    // Every command the recorder makes passes here; by default it is written at once.
    virtual void Put(const ReplayCommand& command);
    // The settings and the start, once, before anything else the game does.
    virtual void Begin();
    // What the ending writes after its check (at most kSummarySize bytes, one line with its
    // newline), prepared with the ending: nothing by default.
    virtual int Summary(char* text, size_t size) const;
    // Tells of the first failed write, at update `update`: the recording ends there.
    virtual void ReportStop(int error, std::int64_t update) const;

    // The version and the data's digest, a file's first lines.
    void WriteHeading(std::uint64_t dataDigest);
    // The settings as the game holds them now, as a `state` line.
    static ReplayCommand SettingsCommand();

    // The end of an update, in its three parts: counted and hashed; the input that came inside it
    // put after it; a check every kCheckInterval updates (true when one was written). An update
    // that is not written is only left (LeaveUpdate) before its input is put.
    void LeaveUpdate() { _inUpdate = false; }
    void CountUpdate();
    void PutDeferred();
    bool PutCheck();
    // Writes the updates run since the last line as one `step`, then the command.
    void Write(const ReplayCommand& command);
    void WriteLine(const std::string& line);
    // Fills the ending not in use and then hands it over: a signal on another thread always finds
    // a whole one. Nothing changes once the recording is closed.
    void PrepareEnding();

    // A new file for the recorder: the lines from here on go to `fd`, the updates counted from 0.
    void Attach(int fd, std::string path);
    // Closes the file, once, whoever comes first; then no file until the next Attach.
    void Detach();
    bool Stopped() const { return _stopped; }
    // Forgets the updates run so far: the next is update 1 of the file.
    void ForgetUpdates();
    std::int64_t Updates() const { return _updates; }
    const std::string& Path() const { return _path; }

    static constexpr size_t kSummarySize = 96;

private:
    // The lines Close writes, ready before any signal can ask for them.
    struct Ending {
        std::array<char, 96 + kSummarySize> text{};
        size_t length = 0;
    };

    // An input change: written at once between updates, after the update when it comes inside
    // one (a new window's key-ups), since the game has read its input for that update already.
    void Record(ReplayCommand command);
    void RecordKey(int event, int code);
    void RecordPointer();
    void WriteSteps();
    // Reports the first failed write, once, and stops the recording at its last whole line.
    void Stop(int error);
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
