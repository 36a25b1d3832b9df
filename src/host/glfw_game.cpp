// BBGlfwGame: the window and its context, the frame loop's schedule, focus, the GLFW callbacks,
// display modes, joysticks and the path schemes, alike on the desktop and in the browser.
#include "host/glfw_game.h"

#include "files/path_schemes.h"
#include "host/devices.h"
#include "host/errors.h"
#include "host/platform.h"
#include "input/input_device.h"
#include "input/key_translation.h"

#include <algorithm>

int glfwGraphicsSeq = 0;
BBGlfwGame* BBGlfwGame::_glfwGame = nullptr;

namespace {

constexpr int kMaxUpdatesPerPass = 4;

int Hint(bool on) {
    return on ? GLFW_TRUE : GLFW_FALSE;
}

GLFWmonitor* FullscreenMonitor(int flags) {
    int count = 0;
    GLFWmonitor** monitors = glfwGetMonitors(&count);
    if (!monitors || count <= 0)
        return nullptr;
    int index = (flags & BBGame::kSecondMonitor) ? 1 : 0;
    return monitors[index < count ? index : count - 1];
}

} // namespace

BBGlfwGame::BBGlfwGame() {
    _glfwGame = this;
    if (kPassSleeps)
        _sleep = &BBGlfwGame::Sleep;
    if (GLFWmonitor* monitor = glfwGetPrimaryMonitor()) {
        if (const GLFWvidmode* mode = glfwGetVideoMode(monitor)) {
            const int values[6] = {mode->width,     mode->height,   mode->redBits,
                                   mode->greenBits, mode->blueBits, mode->refreshRate};
            std::copy(values, values + 6, _desktopMode);
        }
    }
    _programDir = bb_platform_ProgramDirectory();
}

BBGlfwGame::~BBGlfwGame() {
    if (_window)
        glfwDestroyWindow(_window);
    if (_glfwGame == this)
        _glfwGame = nullptr;
}

bool bb_host_DrawableSize(int* width, int* height) {
    BBGlfwGame* host = BBGlfwGame::_glfwGame;
    if (host && host->GetGLFWwindow()) {
        *width = host->GetDeviceWidth();
        *height = host->GetDeviceHeight();
        return true;
    }
    GLFWwindow* window = glfwGetCurrentContext();
    if (!window)
        return false;
    glfwGetFramebufferSize(window, width, height);
    return true;
}

int bb_host_GraphicsSeq() {
    return glfwGraphicsSeq;
}

void* bb_host_GLFunction(const char* name) {
    if (!glfwGetCurrentContext())
        return nullptr;
    return reinterpret_cast<void*>(glfwGetProcAddress(name));
}

void BBGlfwGame::SetUpdateRate(int hertz) {
    BBGame::SetUpdateRate(hertz);
    if (hertz != 0)
        _updatePeriod = 1.0 / hertz;
    _nextUpdate = 0;
}

int BBGlfwGame::Millisecs() {
    return static_cast<int>(GetTime() * 1000.0);
}

int BBGlfwGame::CountJoysticks(bool update) {
    return _joystickPorts.CountJoysticks(update);
}

bool BBGlfwGame::PollJoystick(int port, std::span<float> joyx, std::span<float> joyy,
                              std::span<float> joyz, std::span<bool> buttons) {
    return _joystickPorts.PollJoystick(port, joyx, joyy, joyz, buttons);
}

void BBGlfwGame::SetJoystickSource(BBJoystickSource* source) {
    _joystickPorts.SetSource(source ? source : &_glfwJoysticks);
}

void BBGlfwGame::OnJoysticksChanged() {
    if (_glfwGame)
        _glfwGame->_joystickPorts.JoysticksChanged();
}

void BBGlfwGame::OpenUrl(const String& url) {
    bb_platform_OpenUrl(url);
}

int BBGlfwGame::GetDeviceWidth() {
    return _width;
}
int BBGlfwGame::GetDeviceHeight() {
    return _height;
}

void BBGlfwGame::ReleaseHeldKeys() {
    for (int key = 0; key <= GLFW_KEY_LAST; ++key) {
        int code = TransKey(key);
        if (code && glfwGetKey(_window, key) == GLFW_PRESS)
            KeyEvent(BBEVENT_KEYUP, code);
    }
}

void BBGlfwGame::OpenWindow(int width, int height, int flags) {
    _focus = false;
    if (_window) {
        ReleaseHeldKeys();
        glfwDestroyWindow(_window);
        _window = nullptr;
    }
    const bool fullscreen = flags & kFullscreen;
    glfwWindowHint(GLFW_RED_BITS, 8);
    glfwWindowHint(GLFW_GREEN_BITS, 8);
    glfwWindowHint(GLFW_BLUE_BITS, 8);
    glfwWindowHint(GLFW_ALPHA_BITS, 0);
    glfwWindowHint(GLFW_DEPTH_BITS, (flags & kDepthBuffer) ? 32 : 0);
    glfwWindowHint(GLFW_STENCIL_BITS, (flags & kStencilBuffer) ? 8 : 0);
    glfwWindowHint(GLFW_RESIZABLE, Hint(flags & kResizable));
    glfwWindowHint(GLFW_DECORATED, Hint(flags & kDecorated));
    glfwWindowHint(GLFW_FLOATING, Hint(flags & kFloating));
    glfwWindowHint(GLFW_VISIBLE, Hint(fullscreen));
    glfwWindowHint(GLFW_DOUBLEBUFFER, Hint(!(flags & kSingleBuffer)));
    glfwWindowHint(GLFW_SAMPLES, 0);
    glfwWindowHint(GLFW_REFRESH_RATE, 60);

    GLFWmonitor* monitor = fullscreen ? FullscreenMonitor(flags) : nullptr;
    _window = glfwCreateWindow(width, height, "Skiddlewick", monitor, nullptr);
    if (!_window) {
        bbPrint(u"glfwCreateWindow FAILED!");
        bb_host_Exit(kHostExitAbort);
    }
    ++glfwGraphicsSeq;
    _width = width;
    _height = height;
    _windowFlags = flags;
    if (!fullscreen) {
        glfwSetWindowPos(_window, (_desktopMode[0] - width) / 2, (_desktopMode[1] - height) / 2);
        glfwShowWindow(_window);
    }
    glfwMakeContextCurrent(_window);
    ApplySwapInterval();

    glfwSetKeyCallback(_window, OnKey);
    glfwSetCharCallback(_window, OnChar);
    glfwSetMouseButtonCallback(_window, OnMouseButton);
    glfwSetCursorPosCallback(_window, OnCursorPos);
    glfwSetWindowCloseCallback(_window, OnWindowClose);
    glfwSetWindowSizeCallback(_window, OnWindowSize);
}

std::vector<BBDisplayMode> BBGlfwGame::SelectDisplayModes(std::span<const GLFWvidmode> vidmodes) {
    std::vector<BBDisplayMode> modes;
    for (const GLFWvidmode& mode : vidmodes) {
        if (mode.refreshRate == 60 || mode.refreshRate == 0)
            modes.push_back(BBDisplayMode{mode.width, mode.height});
    }
    return modes;
}

std::vector<BBDisplayMode> BBGlfwGame::GetDisplayModes() {
    GLFWmonitor* monitor = glfwGetPrimaryMonitor();
    if (!monitor)
        return {};
    int count = 0;
    const GLFWvidmode* vidmodes = glfwGetVideoModes(monitor, &count);
    if (!vidmodes || count <= 0)
        return {};
    return SelectDisplayModes(std::span(vidmodes, static_cast<size_t>(count)));
}

std::optional<BBDisplayMode> BBGlfwGame::GetDesktopMode() {
    return BBDisplayMode{_desktopMode[0], _desktopMode[1]};
}

void BBGlfwGame::SetSwapInterval(int interval) {
    _swapInterval = interval;
    if (_window)
        ApplySwapInterval();
}

String BBGlfwGame::PathToFilePath(const String& path) {
    return bb_files_MapSchemePath(path, _programDir);
}

double BBGlfwGame::GetTime() {
    return glfwGetTime();
}

void BBGlfwGame::Sleep(double seconds) {
    bb_platform_SleepMillis(static_cast<int>(seconds * 1000.0));
}

int BBGlfwGame::KeyToChar(int key) {
    return bb_input_KeyToChar(key);
}

void BBGlfwGame::Run() {
    // Making the window and its context is the longest step of the start, on this thread alone:
    // the files the first screens need decode, and the audio device opens, beside it.
    PrepareStart();
    // The settings' window from the start: a full-screen player never sees a 640 x 480 one.
    SetDeviceWindow(_firstWindow.width, _firstWindow.height, _firstWindow.flags);
    BBGlfwJoystickSource::Start(&BBGlfwGame::OnJoysticksChanged);
    StartGame();
    RunFrameLoop();
}

void BBGlfwGame::RunPass() {
    const bool due = AwaitUpdates();
    UpdateEvents();
    if (!Suspended()) {
        if (_updateRate == 0)
            UpdateGame();
        else if (due)
            RunUpdates(_clock());
    }
    RenderGame();
    PresentFrame();
}

bool BBGlfwGame::AwaitUpdates() {
    double delay = UpdateDelay(_clock());
    if (!_sleep)
        return delay < _updatePeriod / 2;
    // Loads land between updates: the update that takes them (and the one that acts on them) need
    // not wait out the rest of a period each before the first screen shows.
    if (delay > 0 && AwaitLoads(delay)) {
        _nextUpdate = _clock();
        return true;
    }
    delay = UpdateDelay(_clock());
    if (delay > 0)
        _sleep(delay);
    return true;
}

double BBGlfwGame::UpdateDelay(double now) const {
    if (_nextUpdate == 0)
        return 0;
    double delay = _nextUpdate - now;
    return delay > 0 ? delay : 0;
}

void BBGlfwGame::ApplyFocus(bool focused) {
    if (focused) {
        _focus = true;
        if (Suspended()) {
            ResumeGame();
            _nextUpdate = 0;
        }
    } else if (_focus && !Suspended()) {
        SuspendGame();
        _nextUpdate = 0;
    }
}

void BBGlfwGame::RunUpdates(double now) {
    if (_nextUpdate == 0)
        _nextUpdate = now;
    for (int i = 0; i < kMaxUpdatesPerPass; ++i) {
        UpdateGame();
        // The update changed the rate, or the game was suspended: the schedule starts again.
        if (_nextUpdate == 0)
            return;
        _nextUpdate += _updatePeriod;
        if (_nextUpdate > _clock())
            return;
    }
    // Still behind after four updates: drop the backlog rather than fall ever further behind.
    _nextUpdate = 0;
}

void BBGlfwGame::SetClock(std::function<double()> clock) {
    _clock = clock ? std::move(clock) : &BBGlfwGame::GetTime;
}

void BBGlfwGame::SetSleep(std::function<void(double)> sleep) {
    _sleep = std::move(sleep);
}

void BBGlfwGame::OnKey(GLFWwindow*, int key, int, int action, int) {
    int code = TransKey(key);
    if (!code)
        return;
    if (action == GLFW_RELEASE) {
        _glfwGame->KeyEvent(BBEVENT_KEYUP, code);
    } else if (action == GLFW_PRESS || action == GLFW_REPEAT) {
        _glfwGame->KeyEvent(BBEVENT_KEYDOWN, code);
        if (int chr = KeyToChar(code))
            _glfwGame->KeyEvent(BBEVENT_KEYCHAR, chr);
    }
}

void BBGlfwGame::OnChar(GLFWwindow*, unsigned int codepoint) {
    _glfwGame->KeyEvent(BBEVENT_KEYCHAR, static_cast<int>(codepoint));
}

void BBGlfwGame::OnMouseButton(GLFWwindow* window, int button, int action, int) {
    if (button > 2)
        return;
    double x = 0, y = 0;
    glfwGetCursorPos(window, &x, &y);
    if (action == GLFW_PRESS)
        _glfwGame->MouseEvent(BBEVENT_MOUSEDOWN, button, static_cast<float>(x),
                              static_cast<float>(y));
    else if (action == GLFW_RELEASE)
        _glfwGame->MouseEvent(BBEVENT_MOUSEUP, button, static_cast<float>(x),
                              static_cast<float>(y));
}

void BBGlfwGame::OnCursorPos(GLFWwindow*, double x, double y) {
    _glfwGame->MouseEvent(BBEVENT_MOUSEMOVE, -1, static_cast<float>(x), static_cast<float>(y));
}

void BBGlfwGame::OnWindowClose(GLFWwindow* window) {
    // The close button is a request the game answers, not a close.
    glfwSetWindowShouldClose(window, GLFW_FALSE);
    _glfwGame->KeyEvent(BBEVENT_KEYDOWN, KEY_CLOSE);
    _glfwGame->KeyEvent(BBEVENT_KEYUP, KEY_CLOSE);
}

void BBGlfwGame::OnWindowSize(GLFWwindow*, int width, int height) {
    _glfwGame->_width = width;
    _glfwGame->_height = height;
}
