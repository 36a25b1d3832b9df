// The replay runner: the script's commands turned into steps for its caller, and the session
// that delivers the scripted input before each update and compares the recording's checks.
#include "replay/replay_runner.h"

#include "game/random.h"
#include "game/tazzle.h"
#include "graphics/virtual_display.h"
#include "host/bb_game.h"
#include "input/input_device.h"
#include "input/key_codes.h"
#include "input/key_translation.h"
#include "loading/thread.h"
#include "replay/data_digest.h"
#include "replay/shown_text.h"
#include "replay/title_carry.h"
#include "replay/trace_line.h"
#include "runtime/version.h"
#include "screens/title_screen.h"

#include <chrono>

ReplayRunner::ReplayRunner(ReplayScript script) : _script(std::move(script)) {
    // The state file is read when the game starts, before the first update asks for a command;
    // it comes before `boot` or `start`.
    ReplayScript::Cursor cursor;
    while (std::optional<ReplayCommand> command = _script.Next(cursor)) {
        if (command->op == ReplayOp::Boot || command->op == ReplayOp::Start)
            break;
        if (command->op == ReplayOp::State)
            _state = bb_str(command->text);
    }
}

std::string ReplayRunner::VersionWarning() const {
    // Both come before anything else the script says.
    ReplayScript::Cursor cursor;
    while (const std::optional<ReplayCommand> command = _script.Next(cursor)) {
        const std::string line = "line " + std::to_string(command->line) + ": ";
        if (command->op == ReplayOp::Version && command->text != bb_version_Number)
            return line + "recorded by skiddlewick " + ShownText(command->text) + ", this is " +
                   bb_version_Number + ": the game may play differently";
        if (command->op == ReplayOp::Data && command->hash != GameDataDigest())
            return line + "recorded with other game data: the game may play differently";
        if (command->op != ReplayOp::Version && command->op != ReplayOp::Data)
            break;
    }
    return {};
}

ReplayStep ReplayRunner::Next() {
    if (_status != 0 || !FinishNewGame())
        return ReplayStep::Failed;
    for (;;) {
        if (_stepsLeft > 0)
            return UpdateDue();
        if (_untilState || _carry) {
            if (_untilState ? Waiting() : Carrying())
                return UpdateDue();
            if (_status != 0)
                return ReplayStep::Failed;
        }
        const std::optional<ReplayCommand> command = _script.Next(_cursor);
        if (!command)
            return ReplayStep::End;
        _line = command->line;
        if (std::optional<ReplayStep> step = Execute(*command))
            return *step;
    }
}

ReplayStep ReplayRunner::UpdateDue() {
    // The steps were counted as the script was read; the `until`s can only be counted here.
    if (_ran >= kReplayUpdateLimit) {
        Fail(1, "more than " + std::to_string(kReplayUpdateLimit) +
                    " updates, the most a script may run");
        return ReplayStep::Failed;
    }
    return ReplayStep::Update;
}

std::optional<ReplayStep> ReplayRunner::Execute(const ReplayCommand& command) {
    switch (command.op) {
    case ReplayOp::Version:
    case ReplayOp::Data:
    case ReplayOp::State:
        break;
    case ReplayOp::Boot:
        _untilState = c_MainState::Title;
        _untilName = "boot";
        _untilCount = 0;
        return ReplayStep::Start;
    case ReplayOp::Start:
        return ReplayStep::Start;
    case ReplayOp::NewGame:
        if (!StartNewGame(command.number))
            return ReplayStep::Failed;
        break;
    case ReplayOp::Press:
        Key(BBEVENT_KEYDOWN, static_cast<int>(command.number));
        break;
    case ReplayOp::Release:
        Key(BBEVENT_KEYUP, static_cast<int>(command.number));
        break;
    case ReplayOp::Step:
        _stepsLeft = command.number;
        break;
    case ReplayOp::Until:
        _untilState = static_cast<int>(command.number);
        _untilName = "until";
        _untilCount = 0;
        break;
    case ReplayOp::Shot:
        _shotFile = command.text;
        return ReplayStep::Shot;
    case ReplayOp::Check:
        if (!Check(command))
            return ReplayStep::Failed;
        break;
    case ReplayOp::Clock:
        _clock.push_back(static_cast<int>(command.number));
        break;
    case ReplayOp::Mouse:
        _pointer = {static_cast<int>(command.number), static_cast<int>(command.number2)};
        break;
    case ReplayOp::Joy: {
        ReplayJoystick& joystick = _joysticks[command.number];
        if (!command.axes) {
            // A joystick pulled out leaves its port at rest, as the game's own port does.
            joystick = ReplayJoystick{};
            break;
        }
        joystick.present = true;
        joystick.axes = *command.axes;
        break;
    }
    case ReplayOp::Suspend:
        _events.push_back({.focusLoss = true});
        break;
    case ReplayOp::Carry:
        if (bb_tazzle_mainState != c_MainState::Title || !bb_tazzle_titleScreen ||
            bb_tazzle_titleScreen->m_state != c_TitleScreen::kStateMenu) {
            Fail(1, "carry: the title menu is not running (main state " +
                        std::to_string(bb_tazzle_mainState) + ")");
            return ReplayStep::Failed;
        }
        _carry = command.carry;
        _untilCount = 0;
        break;
    }
    return std::nullopt;
}

bool ReplayRunner::StartNewGame(std::uint32_t seed) {
    if (bb_tazzle_mainState != c_MainState::Title || !bb_tazzle_titleScreen ||
        bb_tazzle_titleScreen->m_state != c_TitleScreen::kStateMenu)
        return Fail(1, "newgame: the title menu is not running (main state " +
                           std::to_string(bb_tazzle_mainState) + ")");
    // START GAME is the menu's first item, selected whenever the title is entered; enter
    // activates it.
    _events.push_back({BBEVENT_KEYDOWN, KEY_ENTER});
    _stepsLeft = 1;
    _newGameSeed = seed;
    return true;
}

bool ReplayRunner::FinishNewGame() {
    if (!_newGameSeed || _stepsLeft > 0)
        return true;
    const std::uint32_t seed = *_newGameSeed;
    _newGameSeed.reset();
    if (bb_tazzle_titleScreen->m_state != c_TitleScreen::kStateStarting)
        return Fail(1, "newgame: START GAME was not activated (is another menu item selected?)");
    bb_random_Seed = seed;
    _events.push_back({BBEVENT_KEYUP, KEY_ENTER});
    return true;
}

bool ReplayRunner::Waiting() {
    if (bb_tazzle_mainState == *_untilState) {
        _untilState.reset();
        return false;
    }
    return WaitOneMore(std::string(_untilName) + ": main state " + std::to_string(*_untilState) +
                       " not reached");
}

bool ReplayRunner::Carrying() {
    if (bb_title_MenuTakesInput()) {
        ApplyTitleCarry(*_carry);
        _carry.reset();
        _updates = 0;
        _lastLine.reset();
        return false;
    }
    return WaitOneMore("carry: the title menu took no input");
}

bool ReplayRunner::WaitOneMore(const std::string& what) {
    if (_untilCount >= kReplayUntilLimit) {
        Fail(1, what + " in " + std::to_string(kReplayUntilLimit) + " updates");
        return false;
    }
    ++_untilCount;
    return true;
}

void ReplayRunner::Key(int event, int code) {
    // A joystick's button is held in the joystick the game polls, as a real one's would be.
    const int port = ReplayJoystickPort(code);
    if (port >= 0 && _joysticks[port].present) {
        _joysticks[port].buttons[(code - KEY_JOY0) % kJoystickKeyButtons] =
            event == BBEVENT_KEYDOWN;
        return;
    }
    _events.push_back({event, code});
}

bool ReplayRunner::Check(const ReplayCommand& command) {
    if (_updates != command.number || TraceHash(LastLine()) != command.hash)
        return Fail(3, "the game differs from the recording at update " +
                           std::to_string(command.number));
    return true;
}

bool ReplayRunner::Fail(int status, const std::string& message) {
    _status = status;
    _error = "line " + std::to_string(_line) + ": " + message;
    return false;
}

const std::string& ReplayRunner::LastLine() {
    if (!_lastLine)
        _lastLine = TraceLine(_updates, _keys);
    return *_lastLine;
}

bool ReplayRunner::BeforeUpdate() {
    ++_updates;
    ++_ran;
    _lastLine.reset();
    _delivering = true;
    DeliverEvents();
    PlacePointer();
    _delivering = false;
    // A load begun in one update is always delivered at the game's next poll, however fast the
    // machine is.
    if (!bb_thread_AwaitLoaders(std::chrono::minutes(1)))
        return Fail(1, "a loader thread did not finish within a minute");
    return true;
}

void ReplayRunner::InputPolled() {
    _keys = KeysDown();
}

void ReplayRunner::AfterUpdate() {
    if (_stepsLeft > 0)
        --_stepsLeft;
    // A recorded clock reading belongs to its update alone.
    _clock.clear();
    // The line a check compares is the game's right after the update, whatever input the script
    // queues before the check.
    if (_stepsLeft == 0)
        LastLine();
}

void ReplayRunner::DeliverEvents() {
    BBGame* host = BBGame::_game;
    for (const auto& [event, code, focusLoss] : _events) {
        if (focusLoss) {
            host->SuspendGame();
            host->ResumeGame();
            continue;
        }
        // As the window's key callback does: a key-down brings its character with it.
        host->KeyEvent(event, code);
        if (event == BBEVENT_KEYDOWN) {
            if (int chr = bb_input_KeyToChar(code))
                host->KeyEvent(BBEVENT_KEYCHAR, chr);
        }
    }
    _events.clear();
}

void ReplayRunner::PlacePointer() {
    c_VirtualDisplay* display = c_VirtualDisplay::m_Display.get();
    if (!display)
        return;
    const auto [x, y] = _pointer;
    if (static_cast<int>(display->p_VTouchX(0, true)) == x &&
        static_cast<int>(display->p_VTouchY(0, true)) == y)
        return;
    // The middle of the pixel, so that the game's own mapping cannot round it into the next.
    BBGame::_game->MouseEvent(BBEVENT_MOUSEMOVE, -1, display->p_WindowX(x + 0.5f),
                              display->p_WindowY(y + 0.5f));
}

int ReplayRunner::Clock(int) {
    if (!_clock.empty()) {
        const int millisecs = _clock.front();
        _clock.pop_front();
        return millisecs;
    }
    // 1000/60 ms per update, whatever the game's update rate: the title screen seeds the
    // random generator from this clock, so a replay must not see the real one.
    return static_cast<int>(_updates * 1000 / 60);
}

String ReplayRunner::LoadState(BBGame&) {
    return _state;
}

int ReplayRunner::SaveState(BBGame&, const String& state) {
    // Kept for the rest of the run: a replay neither reads nor changes the player's settings.
    _state = state;
    return 0;
}

int ReplayRunner::CountJoysticks(bool) {
    int count = 0;
    while (count < static_cast<int>(_joysticks.size()) && _joysticks[count].present)
        ++count;
    return count;
}

bool ReplayRunner::PollJoystick(int port, std::span<float> joyx, std::span<float> joyy,
                                std::span<float> joyz, std::span<bool> buttons) {
    if (port < 0 || port >= static_cast<int>(_joysticks.size()) || !_joysticks[port].present)
        return false;
    const ReplayJoystick& joystick = _joysticks[port];
    const std::span<float> targets[3] = {joyx, joyy, joyz};
    for (int i = 0; i < 6; ++i) {
        if (static_cast<size_t>(i / 3) < targets[i % 3].size())
            targets[i % 3][i / 3] = joystick.axes[i];
    }
    for (size_t button = 0; button < buttons.size() && button < joystick.buttons.size(); ++button)
        buttons[button] = joystick.buttons[button];
    return true;
}
