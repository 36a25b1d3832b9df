// ReplayRecorder: what reaches the game, noted as script commands and written at once.
#include "replay/replay_recorder.h"

#include "graphics/virtual_display.h"
#include "host/errors.h"
#include "input/input_device.h"
#include "input/input_events.h"
#include "loading/thread.h"
#include "persist/settings.h"
#include "replay/data_digest.h"
#include "replay/shown_text.h"
#include "replay/trace_line.h"
#include "runtime/version.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>

namespace {

ReplayCommand Command(ReplayOp op, std::uint32_t number = 0) {
    ReplayCommand command{op};
    command.number = number;
    return command;
}

} // namespace

std::unique_ptr<ReplayRecorder> ReplayRecorder::Open(const std::string& path, std::string& error) {
    const int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0) {
        error = "cannot write the recording '" + ShownText(path) + "': " + std::strerror(errno);
        return nullptr;
    }
    bb_host_CatchStopSignals();
    auto recorder = std::unique_ptr<ReplayRecorder>(new ReplayRecorder(fd, path));
    recorder->WriteHeading(GameDataDigest());
    recorder->WriteLine(
        "# A game recorded by skiddlewick --record: skiddlewick-replay replays it,");
    recorder->WriteLine("# skiddlewick --play shows it.");
    if (recorder->_stopped) {
        error = "cannot write the recording '" + ShownText(path) +
                "': " + std::strerror(recorder->_error);
        return nullptr;
    }
    return recorder;
}

ReplayRecorder::ReplayRecorder(int fd, std::string path) : _fd(fd), _path(std::move(path)) {}

ReplayRecorder::~ReplayRecorder() {
    Close();
    if (_fd >= 0)
        close(_fd);
}

void ReplayRecorder::WriteHeading(std::uint64_t dataDigest) {
    WriteLine(std::string("version ") + bb_version_Number);
    ReplayCommand data = Command(ReplayOp::Data);
    data.hash = dataDigest;
    WriteLine(ReplayCommandText(data));
}

ReplayCommand ReplayRecorder::SettingsCommand() {
    ReplayCommand state{ReplayOp::State};
    // The settings as the game holds them: one clean line, whatever the file they came from.
    if (bb_settings_gameSettings)
        state.text = bb_narrow(bb_settings_gameSettings->p_EncodeFields());
    return state;
}

void ReplayRecorder::Begin() {
    if (_begun)
        return;
    _begun = true;
    Write(SettingsCommand());
    Write(Command(ReplayOp::Start));
}

void ReplayRecorder::Put(const ReplayCommand& command) {
    Write(command);
}

int ReplayRecorder::Summary(char*, size_t) const {
    return 0;
}

bool ReplayRecorder::BeforeUpdate() {
    Begin();
    // A real game does not wait; the replay does, and waiting costs a frame at most.
    bb_thread_AwaitLoaders(std::chrono::minutes(1));
    RecordPointer();
    _inUpdate = true;
    return true;
}

void ReplayRecorder::InputPolled() {
    // Every update's line is hashed: the recording may end after any of them.
    _keys = KeysDown();
}

void ReplayRecorder::AfterUpdate() {
    CountUpdate();
    PutDeferred();
    PutCheck();
    PrepareEnding();
}

void ReplayRecorder::CountUpdate() {
    LeaveUpdate();
    ++_updates;
    ++_unwrittenSteps;
    _lastHash = TraceHash(TraceLine(_updates, _keys));
}

void ReplayRecorder::PutDeferred() {
    for (const ReplayCommand& command : _deferred)
        Put(command);
    _deferred.clear();
}

bool ReplayRecorder::PutCheck() {
    if (_updates % kCheckInterval != 0)
        return false;
    ReplayCommand check = Command(ReplayOp::Check, static_cast<std::uint32_t>(_updates));
    check.hash = _lastHash;
    Put(check);
    _checked = _updates;
    return true;
}

void ReplayRecorder::Record(ReplayCommand command) {
    Begin();
    if (_inUpdate)
        _deferred.push_back(std::move(command));
    else
        Put(command);
}

void ReplayRecorder::RecordKey(int event, int code) {
    // Only what changes the game's keys: a repeat of a held key or the release of a free one
    // does nothing but type characters, which the game never reads.
    if (code < 1 || code >= c_InputDevice::kKeys || !bb_input_device)
        return;
    const bool down = bb_input_device->p_KeyDown(code);
    if (event == BBEVENT_KEYDOWN && !down)
        Record(Command(ReplayOp::Press, static_cast<std::uint32_t>(code)));
    else if (event == BBEVENT_KEYUP && down)
        Record(Command(ReplayOp::Release, static_cast<std::uint32_t>(code)));
}

bool ReplayRecorder::PassKeyEvent(int event, int data) {
    RecordKey(event, data);
    return true;
}

bool ReplayRecorder::PassMouseEvent(int event, int data, float, float) {
    // The buttons are keys 1 to 3; the pointer is noted as the game sees it, before each update.
    if (event == BBEVENT_MOUSEDOWN)
        RecordKey(BBEVENT_KEYDOWN, KEY_LMB + data);
    else if (event == BBEVENT_MOUSEUP)
        RecordKey(BBEVENT_KEYUP, KEY_LMB + data);
    return true;
}

void ReplayRecorder::RecordPointer() {
    // Where the game will see the pointer on its virtual screen, whatever the window's size.
    c_VirtualDisplay* display = c_VirtualDisplay::m_Display.get();
    if (!display)
        return;
    const std::pair<int, int> pointer{static_cast<int>(display->p_VTouchX(0, true)),
                                      static_cast<int>(display->p_VTouchY(0, true))};
    if (pointer == _pointer)
        return;
    _pointer = pointer;
    ReplayCommand mouse = Command(ReplayOp::Mouse, static_cast<std::uint32_t>(pointer.first));
    mouse.number2 = static_cast<std::uint32_t>(pointer.second);
    Put(mouse);
}

bool ReplayRecorder::PassFocus(bool focused) {
    // No update runs while the focus is away, so the loss and the return come between the same
    // two updates; the game pauses on the loss.
    if (!focused)
        _focusLost = true;
    else if (_focusLost) {
        _focusLost = false;
        Record(Command(ReplayOp::Suspend));
    }
    return true;
}

int ReplayRecorder::Clock(int hostMillisecs) {
    Begin();
    Put(Command(ReplayOp::Clock, static_cast<std::uint32_t>(hostMillisecs)));
    return hostMillisecs;
}

int ReplayRecorder::CountJoysticks(bool update) {
    const int count = BBGameSession::CountJoysticks(update);
    NoteCount(count);
    return count;
}

void ReplayRecorder::NoteCount(int count) {
    // The game empties a port that no longer holds a joystick.
    for (int port = std::max(count, 0); port < static_cast<int>(_joysticks.size()); ++port) {
        if (!_joysticks[port].present)
            continue;
        _joysticks[port] = ReplayJoystick{};
        Put(Command(ReplayOp::Joy, static_cast<std::uint32_t>(port)));
    }
}

bool ReplayRecorder::PollJoystick(int port, std::span<float> joyx, std::span<float> joyy,
                                  std::span<float> joyz, std::span<bool> buttons) {
    const bool present = BBGameSession::PollJoystick(port, joyx, joyy, joyz, buttons);
    return NotePoll(port, present, joyx, joyy, joyz, buttons);
}

bool ReplayRecorder::NotePoll(int port, bool present, std::span<float> joyx, std::span<float> joyy,
                              std::span<float> joyz, std::span<bool> buttons) {
    // A counted joystick that cannot be read leaves its port as it was, in the game as in the
    // replay, where it reads back its last values.
    if (!present || port < 0 || port >= static_cast<int>(_joysticks.size()) || joyx.size() < 2 ||
        joyy.size() < 2 || joyz.size() < 2)
        return present;
    // What the recording can hold is what the game is given: the replay gives it the same.
    for (const std::span<float> axes : {joyx, joyy, joyz}) {
        for (float& axis : axes)
            axis = ReplayStickValue(axis);
    }
    ReplayJoystick& last = _joysticks[port];
    ReplayCommand joy = Command(ReplayOp::Joy, static_cast<std::uint32_t>(port));
    const std::array<float, 6> axes{joyx[0], joyy[0], joyz[0], joyx[1], joyy[1], joyz[1]};
    if (!last.present || axes != last.axes) {
        joy.axes = axes;
        Put(joy);
    }
    last.present = true;
    last.axes = axes;
    // Read in the update itself: written before that update's step.
    for (size_t button = 0; button < buttons.size() && button < last.buttons.size(); ++button) {
        if (buttons[button] == last.buttons[button])
            continue;
        last.buttons[button] = buttons[button];
        const auto code = static_cast<std::uint32_t>(bb_input_JoystickKey(port, button));
        Put(Command(buttons[button] ? ReplayOp::Press : ReplayOp::Release, code));
    }
    return true;
}

void ReplayRecorder::Close() {
    if (!_closed.exchange(true))
        WriteEnding();
}

void ReplayRecorder::CloseOnSignal() {
    // This Close is itself safe in a signal's handler: the ending was prepared, it is only
    // written.
    ReplayRecorder::Close();
}

int ReplayRecorder::ExitStatus(int status) const {
    return status == 0 && _stopped ? 1 : status;
}

void ReplayRecorder::Attach(int fd, std::string path) {
    // No ending is there to write until this file has one of its own.
    for (Ending& ending : _endings)
        ending.length = 0;
    _path = std::move(path);
    _size = 0;
    _written = 0;
    ForgetUpdates();
    _fd = fd;
    _closed = false;
}

void ReplayRecorder::Detach() {
    ReplayRecorder::Close();
    if (_fd >= 0)
        close(_fd);
    _fd = -1;
}

void ReplayRecorder::ForgetUpdates() {
    _updates = 0;
    _unwrittenSteps = 0;
    _checked = 0;
}

void ReplayRecorder::Write(const ReplayCommand& command) {
    WriteSteps();
    WriteLine(ReplayCommandText(command));
    PrepareEnding();
}

void ReplayRecorder::WriteSteps() {
    if (_unwrittenSteps == 0)
        return;
    const std::int64_t steps = _unwrittenSteps;
    _unwrittenSteps = 0;
    WriteLine("step " + std::to_string(steps));
    if (!_stopped)
        _written += steps;
}

void ReplayRecorder::PrepareEnding() {
    if (_closed)
        return;
    const int next = 1 - _ending.load();
    Ending& ending = _endings[static_cast<size_t>(next)];
    int length = 0;
    if (_unwrittenSteps > 0)
        length = std::snprintf(ending.text.data(), ending.text.size(), "step %lld\n",
                               static_cast<long long>(_unwrittenSteps));
    if (_updates > _checked)
        length += std::snprintf(ending.text.data() + length,
                                ending.text.size() - static_cast<size_t>(length),
                                "check %lld %016llx\n", static_cast<long long>(_updates),
                                static_cast<unsigned long long>(_lastHash));
    length +=
        Summary(ending.text.data() + length, ending.text.size() - static_cast<size_t>(length));
    ending.length = static_cast<size_t>(length);
    _ending.store(next);
}

void ReplayRecorder::WriteEnding() {
    // write(2) alone: this may run in a signal's handler.
    const Ending& ending = _endings[static_cast<size_t>(_ending.load())];
    if (!_stopped && _fd >= 0 && ending.length > 0)
        (void)!write(_fd, ending.text.data(), ending.length);
}

void ReplayRecorder::WriteLine(const std::string& line) {
    // Nothing after the ending, which a signal on another thread may have written.
    if (_stopped || _closed || _fd < 0)
        return;
    const std::string whole = line + "\n";
    // One write a line, at once, so that a crash keeps the game up to that point.
    size_t done = 0;
    while (done < whole.size()) {
        const ssize_t written = write(_fd, whole.data() + done, whole.size() - done);
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            return Stop(written < 0 ? errno : ENOSPC);
        done += static_cast<size_t>(written);
    }
    _size += static_cast<std::int64_t>(whole.size());
}

void ReplayRecorder::Stop(int error) {
    _stopped = true;
    _error = error;
    // A line cut short would make the whole recording unreadable; the lines before it replay.
    (void)!ftruncate(_fd, _size);
    ReportStop(error, _written);
}

void ReplayRecorder::ReportStop(int error, std::int64_t update) const {
    // Before the game begins, opening the recording fails instead.
    if (_begun)
        std::fprintf(stderr,
                     "skiddlewick: writing the recording '%s' failed at update %lld: %s; the game "
                     "goes on, the recording ends there\n",
                     ShownText(_path).c_str(), static_cast<long long>(update),
                     std::strerror(error));
}
