// ReplayRecorder: what reaches the game, noted as script commands and written at once.
#include "replay/replay_recorder.h"

#include "graphics/virtual_display.h"
#include "input/input_device.h"
#include "input/input_events.h"
#include "loading/thread.h"
#include "persist/settings.h"
#include "replay/trace_line.h"
#include "runtime/version.h"

#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstring>

namespace {

ReplayCommand Command(ReplayOp op, std::uint32_t number = 0) {
    ReplayCommand command{op};
    command.number = number;
    return command;
}

} // namespace

std::unique_ptr<ReplayRecorder> ReplayRecorder::Open(const std::string& path, std::string& error) {
    std::FILE* file = std::fopen(path.c_str(), "w");
    if (file) {
        std::fprintf(file,
                     "version %s\n"
                     "# A game recorded by skiddlewick --record: skiddlewick-replay replays it,\n"
                     "# skiddlewick --play shows it.\n",
                     bb_version_Number);
    }
    if (!file || std::fflush(file) != 0 || std::ferror(file)) {
        error = "cannot write the recording '" + path + "': " + std::strerror(errno);
        if (file)
            std::fclose(file);
        return nullptr;
    }
    return std::unique_ptr<ReplayRecorder>(new ReplayRecorder(file, path));
}

ReplayRecorder::ReplayRecorder(std::FILE* file, std::string path)
    : _file(file), _fd(fileno(file)), _path(std::move(path)) {}

ReplayRecorder::~ReplayRecorder() {
    Close();
    if (_file)
        std::fclose(_file);
}

void ReplayRecorder::Begin() {
    if (_begun)
        return;
    _begun = true;
    ReplayCommand state{ReplayOp::State};
    // The settings as the game holds them after loading: one clean line, whatever the file.
    if (bb_settings_gameSettings)
        state.text = bb_narrow(bb_settings_gameSettings->p_EncodeFields());
    Write(state);
    Write(Command(ReplayOp::Start));
}

bool ReplayRecorder::BeforeUpdate() {
    Begin();
    // A real game does not wait; the replay does, and waiting costs a frame at most.
    bb_thread_AwaitLoaders(std::chrono::minutes(1));
    RecordPointer();
    _inUpdate = true;
    PrepareSignalSteps();
    return true;
}

void ReplayRecorder::InputPolled() {
    if ((_updates + 1) % kCheckInterval == 0)
        _keys = KeysDown();
}

void ReplayRecorder::AfterUpdate() {
    _inUpdate = false;
    ++_updates;
    ++_unwrittenSteps;
    for (const ReplayCommand& command : _deferred)
        Write(command);
    _deferred.clear();
    if (_updates % kCheckInterval == 0) {
        ReplayCommand check = Command(ReplayOp::Check, static_cast<std::uint32_t>(_updates));
        check.hash = TraceHash(TraceLine(_updates, _keys));
        Write(check);
    }
    PrepareSignalSteps();
}

void ReplayRecorder::Record(ReplayCommand command) {
    Begin();
    if (_inUpdate)
        _deferred.push_back(std::move(command));
    else
        Write(command);
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
    Write(mouse);
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
    Write(Command(ReplayOp::Clock, static_cast<std::uint32_t>(hostMillisecs)));
    return hostMillisecs;
}

int ReplayRecorder::CountJoysticks(bool update) {
    const int count = BBGameSession::CountJoysticks(update);
    // The game empties a port that no longer holds a joystick.
    for (int port = std::max(count, 0); port < static_cast<int>(_joysticks.size()); ++port) {
        if (!_joysticks[port].present)
            continue;
        _joysticks[port] = ReplayJoystick{};
        Write(Command(ReplayOp::Joy, static_cast<std::uint32_t>(port)));
    }
    return count;
}

bool ReplayRecorder::PollJoystick(int port, std::span<float> joyx, std::span<float> joyy,
                                  std::span<float> joyz, std::span<bool> buttons) {
    const bool present = BBGameSession::PollJoystick(port, joyx, joyy, joyz, buttons);
    // A counted joystick that cannot be read leaves its port as it was, in the game as in the
    // replay, where it reads back its last values.
    if (!present || port < 0 || port >= static_cast<int>(_joysticks.size()) || joyx.size() < 2 ||
        joyy.size() < 2 || joyz.size() < 2)
        return present;
    ReplayJoystick& last = _joysticks[port];
    ReplayCommand joy = Command(ReplayOp::Joy, static_cast<std::uint32_t>(port));
    const std::array<float, 6> axes{joyx[0], joyy[0], joyz[0], joyx[1], joyy[1], joyz[1]};
    if (!last.present || axes != last.axes) {
        joy.axes = axes;
        Write(joy);
    }
    last.present = true;
    last.axes = axes;
    // Read in the update itself: written before that update's step.
    for (size_t button = 0; button < buttons.size() && button < last.buttons.size(); ++button) {
        if (buttons[button] == last.buttons[button])
            continue;
        last.buttons[button] = buttons[button];
        const auto code = static_cast<std::uint32_t>(bb_input_JoystickKey(port, button));
        Write(Command(buttons[button] ? ReplayOp::Press : ReplayOp::Release, code));
    }
    return true;
}

void ReplayRecorder::Close() {
    // Once only, even when the way out is a fault met while closing.
    if (_closed)
        return;
    _closed = true;
    // The update the program ends in is replayed too, so that the replay ends the same way.
    if (_inUpdate)
        ++_unwrittenSteps;
    WriteSteps();
}

void ReplayRecorder::Write(const ReplayCommand& command) {
    WriteSteps();
    WriteLine(ReplayCommandText(command));
}

void ReplayRecorder::WriteSteps() {
    if (_unwrittenSteps == 0)
        return;
    const std::int64_t steps = _unwrittenSteps;
    _unwrittenSteps = 0;
    PrepareSignalSteps();
    WriteLine("step " + std::to_string(steps));
}

void ReplayRecorder::PrepareSignalSteps() {
    const std::int64_t steps = _unwrittenSteps + (_inUpdate ? 1 : 0);
    _signalStepsLength = 0;
    if (steps > 0)
        _signalStepsLength = std::snprintf(_signalSteps.data(), _signalSteps.size(), "step %lld\n",
                                           static_cast<long long>(steps));
}

void ReplayRecorder::CloseOnSignal() {
    // The lines before are flushed as they are written; write(2) alone is safe here.
    if (_file && !_closed && _signalStepsLength > 0)
        (void)!write(_fd, _signalSteps.data(), static_cast<size_t>(_signalStepsLength));
}

void ReplayRecorder::WriteLine(const std::string& line) {
    if (!_file)
        return;
    std::fputs(line.c_str(), _file);
    std::fputc('\n', _file);
    // As the game goes, so that a crash keeps the run up to that point.
    if (std::fflush(_file) == 0 && !std::ferror(_file))
        return;
    std::fprintf(stderr, "skiddlewick: writing the recording '%s' failed: %s; it ends here\n",
                 _path.c_str(), std::strerror(errno));
    std::fclose(_file);
    _file = nullptr;
    _failed = true;
}
