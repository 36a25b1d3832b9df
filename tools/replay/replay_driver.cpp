// The replay driver: start-up like the program's own, then scripted updates, renders, key events
// and frame captures, with a trace line after every update.
#include "replay_driver.h"

#include "frame_capture.h"
#include "trace_line.h"

#include "game/random.h"
#include "game/tazzle.h"
#include "host/errors.h"
#include "host/game_entry.h"
#include "input/input_device.h"
#include "loading/async_event.h"
#include "loading/thread.h"
#include "screens/title_screen.h"

#include <chrono>
#include <clocale>
#include <thread>

namespace {

constexpr int kEnter = 13;
// The title screen's states: its menu running, its fade into a new game running.
constexpr int kTitleMenu = 0;
constexpr int kTitleStarting = 1;

} // namespace

bool WaitForLoaders() {
    return bb_thread_AwaitLoaders(std::chrono::minutes(1));
}

int ReplayDriver::Run(const ReplayScript& script) {
    for (const ReplayCommand& command : script.commands) {
        _line = command.line;
        if (!Execute(command))
            return 1;
    }
    return 0;
}

bool ReplayDriver::Execute(const ReplayCommand& command) {
    switch (command.op) {
    case ReplayOp::State:
        _state = bb_str(command.text);
        return true;
    case ReplayOp::Boot:
        return Boot();
    case ReplayOp::NewGame:
        return NewGame(command.number);
    case ReplayOp::Press:
        _pendingKeys.emplace_back(BBEVENT_KEYDOWN, static_cast<int>(command.number));
        return true;
    case ReplayOp::Release:
        _pendingKeys.emplace_back(BBEVENT_KEYUP, static_cast<int>(command.number));
        return true;
    case ReplayOp::Step:
        for (std::uint32_t i = 0; i < command.number; ++i) {
            if (!RunUpdate())
                return false;
        }
        return true;
    case ReplayOp::Until:
        return StepUntil(static_cast<int>(command.number), "until");
    case ReplayOp::Shot:
        return Shot(command.text);
    }
    return Fail("unknown command");
}

bool ReplayDriver::Boot() {
    glfwSetErrorCallback(onGlfwError);
    if (!glfwInit())
        return Fail("glfwInit failed");
    _host = std::make_unique<ReplayHost>(_state);
    bb_host_InstallSignalHandlers();
    if (!std::setlocale(LC_CTYPE, "en_US.UTF-8"))
        std::setlocale(LC_CTYPE, "");
    try {
        bbInit();
        bbMain();
    } catch (ThrowableObject& exception) {
        _host->Die(&exception);
    } catch (ThrowableObject* exception) {
        _host->Die(exception);
    }
    if (!_host->Delegate())
        return Fail("the game created no application");
    _host->Open();
    return StepUntil(c_MainState::Title, "boot");
}

bool ReplayDriver::NewGame(std::uint32_t seed) {
    if (bb_tazzle_mainState != c_MainState::Title || !bb_tazzle_titleScreen ||
        bb_tazzle_titleScreen->m_state != kTitleMenu)
        return Fail("newgame: the title menu is not running (main state " +
                    std::to_string(bb_tazzle_mainState) + ")");
    // START GAME is the menu's first item, selected whenever the title is entered; enter
    // activates it.
    _pendingKeys.emplace_back(BBEVENT_KEYDOWN, kEnter);
    if (!RunUpdate())
        return false;
    if (bb_tazzle_titleScreen->m_state != kTitleStarting)
        return Fail("newgame: START GAME was not activated (is another menu item selected?)");
    bb_random_Seed = seed;
    _pendingKeys.emplace_back(BBEVENT_KEYUP, kEnter);
    return true;
}

bool ReplayDriver::StepUntil(int mainState, const char* what) {
    for (int count = 0; bb_tazzle_mainState != mainState; ++count) {
        if (count >= kReplayUntilLimit)
            return Fail(std::string(what) + ": main state " + std::to_string(mainState) +
                        " not reached in " + std::to_string(kReplayUntilLimit) + " updates");
        if (!RunUpdate())
            return false;
    }
    return true;
}

bool ReplayDriver::Shot(const std::string& path) {
    if (!_frameDrawn)
        return Fail("shot: no frame has been drawn yet");
    if (!CaptureFrame(_host->GetGLFWwindow(), path))
        return Fail("shot: cannot write '" + path + "'");
    return true;
}

bool ReplayDriver::RunUpdate() {
    DeliverKeys();
    if (!WaitForLoaders())
        return Fail("a loader thread did not finish within a minute");
    const std::vector<int> keys = KeysDown();
    _host->UpdateGame();
    const std::string line = TraceLine(_host->Updates(), keys);
    std::fputs(line.c_str(), _trace);
    std::fputc('\n', _trace);
    // The previous frame is shown only now, so that the one just drawn stays in the back
    // buffer for a shot.
    if (_frameDrawn)
        glfwSwapBuffers(_host->GetGLFWwindow());
    _host->RenderGame();
    _frameDrawn = true;
    return true;
}

void ReplayDriver::DeliverKeys() {
    for (auto [event, code] : _pendingKeys) {
        // As the window's key callback does: a key-down brings its character with it.
        _host->KeyEvent(event, code);
        if (event == BBEVENT_KEYDOWN) {
            if (int chr = BBGlfwGame::KeyToChar(code))
                _host->KeyEvent(BBEVENT_KEYCHAR, chr);
        }
    }
    _pendingKeys.clear();
}

std::vector<int> ReplayDriver::KeysDown() const {
    std::vector<int> keys;
    if (!bb_input_device)
        return keys;
    for (int code = 1; code < c_InputDevice::kKeys; ++code) {
        if (bb_input_device->p_KeyDown(code))
            keys.push_back(code);
    }
    return keys;
}

bool ReplayDriver::Fail(const std::string& message) {
    _error = "line " + std::to_string(_line) + ": " + message;
    return false;
}
