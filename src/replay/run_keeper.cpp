// RunKeeper: the recorder's input held back an update at a time, a run's file begun when START
// GAME is chosen, ended when the title comes back.
#include "replay/run_keeper.h"

#include "game/tazzle.h"
#include "host/errors.h"
#include "host/platform.h"
#include "replay/data_digest.h"
#include "replay/run_folder.h"
#include "replay/shown_text.h"
#include "replay/title_carry.h"
#include "screens/title_screen.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <ctime>

RunKeeper::RunKeeper(std::string folder, int keep)
    : ReplayRecorder(-1, {}), _folder(std::move(folder)), _keep(keep),
      _keys(c_InputDevice::kKeys, false) {}

RunKeeper::~RunKeeper() {
    RunKeeper::Close();
}

bool RunKeeper::BeforeUpdate() {
    _before = Carried{};
    _before.menu = !_keeping && bb_title_MenuTakesInput();
    if (_before.menu) {
        _before.settings = SettingsCommand().text;
        _before.carry = ReadTitleCarry();
    }
    return ReplayRecorder::BeforeUpdate();
}

void RunKeeper::AfterUpdate() {
    if (!_keeping) {
        if (StartGameChosen() && !_givenUp)
            _keeping = BeginRun();
        if (!_keeping) {
            // An update no run holds: its input is what the game holds now, its state not needed.
            ForgetHeld();
            LeaveUpdate();
            PutDeferred();
            return;
        }
    }
    CountUpdate();
    // Input that came inside the update belongs to the next one.
    PutDeferred();
    const bool checked = PutCheck();
    PrepareEnding();
    if (checked)
        bb_platform_RunKept(Path(), false, bb_tazzle_score, bb_tazzle_level, Updates());
    if (TitleIsBack())
        EndRun();
}

void RunKeeper::Close() {
    if (_keeping)
        EndRun();
    else
        ReplayRecorder::Close();
}

void RunKeeper::Put(const ReplayCommand& command) {
    if (_keeping) {
        Apply(command);
        Write(command);
        return;
    }
    // Past the bound the update's input goes straight into what the game holds, in order: that
    // update cannot begin a run.
    if (_heldOverflow || _held.size() >= kHeldLimit) {
        if (!_heldOverflow)
            ApplyHeld();
        _heldOverflow = true;
        Apply(command);
        return;
    }
    _held.push_back(command);
}

int RunKeeper::Summary(char* text, size_t size) const {
    if (!_keeping || size == 0)
        return 0;
    const int length =
        std::snprintf(text, size, "# score %d level %d updates %lld\n", bb_tazzle_score,
                      bb_tazzle_level, static_cast<long long>(Updates()));
    return std::clamp(length, 0, static_cast<int>(size) - 1);
}

void RunKeeper::ReportStop(int error, std::int64_t update) const {
    std::fprintf(stderr,
                 "skiddlewick: keeping the run '%s' failed at update %lld: %s; the game goes on, "
                 "the run is kept up to there\n",
                 ShownText(Path()).c_str(), static_cast<long long>(update), std::strerror(error));
}

bool RunKeeper::StartGameChosen() const {
    return _before.menu && bb_tazzle_mainState == c_MainState::Title &&
           bb_tazzle_titleScreen->m_state == c_TitleScreen::kStateStarting;
}

bool RunKeeper::TitleIsBack() const {
    return bb_tazzle_mainState == c_MainState::Title && bb_tazzle_titleScreen &&
           bb_tazzle_titleScreen->m_state == c_TitleScreen::kStateMenu;
}

bool RunKeeper::BeginRun() {
    if (_heldOverflow) {
        std::fprintf(stderr,
                     "skiddlewick: this game is not kept: more than %zu input changes "
                     "came in one update\n",
                     kHeldLimit);
        return false;
    }
    const std::time_t now = std::time(nullptr);
    std::string path;
    const int fd = CreateKeptRun(_folder, now, path);
    if (fd < 0) {
        GiveUp("cannot keep the games in '" + ShownText(_folder) + "': " + std::strerror(errno));
        return false;
    }
    if (!_digest)
        _digest = GameDataDigest();
    bb_host_CatchStopSignals();
    Attach(fd, path);
    WriteHeading(*_digest);
    for (const std::string& line : Prologue(now))
        WriteLine(line);
    // What the update that chose START GAME received, as it came.
    _keeping = true;
    for (const ReplayCommand& command : _held)
        Put(command);
    _held.clear();
    return true;
}

std::vector<std::string> RunKeeper::Prologue(std::time_t started) const {
    std::tm utc{};
    gmtime_r(&started, &utc);
    char stamp[32];
    std::strftime(stamp, sizeof stamp, "%Y-%m-%dT%H:%M:%SZ", &utc);
    std::vector<std::string> lines = {
        "# A game kept by skiddlewick: skiddlewick-replay replays it, skiddlewick --play shows it.",
        std::string("# kept ") + stamp,
        ReplayCommandText({ReplayOp::State, 0, 0, _before.settings}),
        "start",
    };
    // The input held when START GAME was chosen: its key-downs reach the game in the first,
    // loading, update, where nothing reads them.
    for (int port = 0; port < static_cast<int>(_joysticks.size()); ++port) {
        const ReplayJoystick& joystick = _joysticks[port];
        if (!joystick.present)
            continue;
        ReplayCommand joy{ReplayOp::Joy};
        joy.number = static_cast<std::uint32_t>(port);
        joy.axes = joystick.axes;
        lines.push_back(ReplayCommandText(joy));
        for (int button = 0; button < kJoystickKeyButtons; ++button) {
            if (joystick.buttons[button])
                lines.push_back("press " + std::to_string(bb_input_JoystickKey(port, button)));
        }
    }
    for (int code = 1; code < static_cast<int>(_keys.size()); ++code) {
        if (_keys[code])
            lines.push_back("press " + std::to_string(code));
    }
    if (_pointer != std::pair<int, int>{0, 0})
        lines.push_back("mouse " + std::to_string(_pointer.first) + " " +
                        std::to_string(_pointer.second));
    ReplayCommand carry{ReplayOp::Carry};
    carry.carry = _before.carry;
    lines.push_back("until " + std::to_string(c_MainState::Title));
    lines.push_back(ReplayCommandText(carry));
    return lines;
}

void RunKeeper::EndRun() {
    const std::string path = Path();
    const std::int64_t updates = Updates();
    // A run that lost its end keeps what it has; the next ones would fare no better.
    _givenUp = _givenUp || Stopped();
    Detach();
    _keeping = false;
    ForgetUpdates();
    bb_platform_RunKept(path, true, bb_tazzle_score, bb_tazzle_level, updates);
    PruneKeptRuns(_folder, _keep);
}

void RunKeeper::ForgetHeld() {
    ApplyHeld();
    _heldOverflow = false;
}

void RunKeeper::ApplyHeld() {
    for (const ReplayCommand& command : _held)
        Apply(command);
    _held.clear();
}

void RunKeeper::Apply(const ReplayCommand& command) {
    // As a replay takes each command (ReplayRunner): a pad's button is held in its joystick when
    // the port has one, else it is a key.
    switch (command.op) {
    case ReplayOp::Press:
    case ReplayOp::Release: {
        const bool down = command.op == ReplayOp::Press;
        const int code = static_cast<int>(command.number);
        const int port = ReplayJoystickPort(code);
        if (port >= 0 && _joysticks[port].present)
            _joysticks[port].buttons[(code - KEY_JOY0) % kJoystickKeyButtons] = down;
        else if (code > 0 && code < static_cast<int>(_keys.size()))
            _keys[code] = down;
        break;
    }
    case ReplayOp::Joy:
        if (!command.axes) {
            _joysticks[command.number] = ReplayJoystick{};
            break;
        }
        _joysticks[command.number].present = true;
        _joysticks[command.number].axes = *command.axes;
        break;
    case ReplayOp::Mouse:
        _pointer = {static_cast<int>(command.number), static_cast<int>(command.number2)};
        break;
    default:
        break;
    }
}

void RunKeeper::GiveUp(const std::string& why) {
    std::fprintf(stderr, "skiddlewick: %s; the game goes on, its games are not kept\n",
                 why.c_str());
    _givenUp = true;
}
