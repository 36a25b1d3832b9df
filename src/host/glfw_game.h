// The host over GLFW 3 and OpenGL: the window and its context, the frame loop, focus handling,
// the GLFW callbacks, display modes, the joystick ports and the path schemes. What differs
// between the desktop and the browser (the frame loop, switching the window's mode, the swap
// interval, the pointer) is in glfw_platform_desktop.cpp and glfw_platform_web.cpp.
#pragma once

#include "host/bb_game.h"
#include "host/glfw_joystick_source.h"

#include <GLFW/glfw3.h>

#include <functional>

// Raised by one every time a window, and with it a new OpenGL context, is created; 0 until then.
extern int glfwGraphicsSeq;

class BBGlfwGame : public BBGame {
public:
    BBGlfwGame();
    ~BBGlfwGame() override;

    // The same object as BBGame::_game, typed as the GLFW host.
    static BBGlfwGame* _glfwGame;

    void SetUpdateRate(int hertz) override;
    int Millisecs() override;
    int CountJoysticks(bool update) override;
    bool PollJoystick(int port, std::span<float> joyx, std::span<float> joyy, std::span<float> joyz,
                      std::span<bool> buttons) override;
    void OpenUrl(const String& url) override;
    void SetMouseVisible(bool visible) override;
    int GetDeviceWidth() override;
    int GetDeviceHeight() override;
    void SetDeviceWindow(int width, int height, int flags) override;
    std::vector<BBDisplayMode> GetDisplayModes() override;
    std::optional<BBDisplayMode> GetDesktopMode() override;
    void SetSwapInterval(int interval) override;
    bool TakeFullscreenLeft() override;
    String PathToFilePath(const String& path) override;

    // The modes a player may pick: those at 60 Hz or of unknown rate, in GLFW's order.
    static std::vector<BBDisplayMode> SelectDisplayModes(std::span<const GLFWvidmode> vidmodes);

    GLFWwindow* GetGLFWwindow() { return _window; }
    // Seconds on GLFW's clock.
    static double GetTime();
    // Blocks the calling thread for the whole milliseconds in `seconds`.
    static void Sleep(double seconds);
    // GLFW key number to game key code (0: no game key); game key code to character (0: none).
    static int TransKey(int glfwKey);
    static int KeyToChar(int key);

    // The frame loop: opens the first window (SetFirstWindow), readies the joysticks (the
    // player's own pad mappings, news of pads plugged in or pulled out), starts the game and runs
    // passes until the window is flagged to close.
    virtual void Run();
    // The window Run opens: the one the game will ask for as it starts, so that no other shows
    // before it; 640 x 480 unless told.
    void SetFirstWindow(const BBWindowRequest& window) { _firstWindow = window; }

    // The pieces of one pass, each taking the current time so that tests can drive them.
    // Seconds to sleep before pumping events (0: none).
    double UpdateDelay(double now) const;
    // Suspends or resumes the game as the window's focus dictates.
    void ApplyFocus(bool focused);
    // Runs the updates due at `now`: at most four, the backlog dropped after that. The clock is
    // read again after each update, since an update takes time too.
    void RunUpdates(double now);
    // The clock the frame loop reads; tests swap in their own, null restores GLFW's.
    void SetClock(std::function<double()> clock);
    // How a pass waits for its updates: a sleep of so many seconds, or null where nothing may
    // block (a page, whose passes come with the display's frames). Each platform starts with its
    // own (kPassSleeps); tests swap in one that moves their clock on.
    void SetSleep(std::function<void(double)> sleep);
    double NextUpdate() const { return _nextUpdate; }

    // Tests swap in a fake joystick source; null restores GLFW's.
    void SetJoystickSource(BBJoystickSource* source);
    // A joystick was plugged in or pulled out: the ports are filled afresh at the next poll.
    static void OnJoysticksChanged();

    static void OnKey(GLFWwindow* window, int key, int scancode, int action, int mods);
    static void OnChar(GLFWwindow* window, unsigned int codepoint);
    static void OnMouseButton(GLFWwindow* window, int button, int action, int mods);
    static void OnCursorPos(GLFWwindow* window, double x, double y);
    static void OnWindowClose(GLFWwindow* window);
    static void OnWindowSize(GLFWwindow* window, int width, int height);

protected:
    // Whether this platform's passes sleep until their updates are due (the desktop) or are paced
    // by the display's frames and never block (a page).
    static const bool kPassSleeps;

    // Runs passes until the window is flagged to close: back to back on the desktop, one per
    // animation frame in the browser.
    void RunFrameLoop();
    // One pass of the frame loop, the same on every platform: wait for the due updates (or judge
    // them due), pump events and follow the focus, run the updates, then render and present.
    void RunPass();
    // Sleeps until the next update is due and says true, or, where nothing may sleep, says
    // whether it is due now or within half a period: a frame that comes a little early runs it,
    // since waiting for the next would run two updates in one frame and judder.
    bool AwaitUpdates();
    // The platform's event pump and focus check (a page's events arrive on their own: its focus
    // alone is read). A suspended game waits for an event where the platform can block.
    virtual void UpdateEvents();
    // Shows the rendered frame: a buffer swap, or nothing where the browser presents the canvas.
    virtual void PresentFrame();
    // Creates the window and its context anew, closing the old one, in the mode `flags` ask for.
    void OpenWindow(int width, int height, int flags);
    // Hands the stored swap interval (negative: leave it alone) to the open window's context.
    void ApplySwapInterval();
    // Key-ups for every held key, so that no key stays down across a new window.
    void ReleaseHeldKeys();

    int _desktopMode[6] = {0, 0, 0, 0, 0, 0};
    GLFWwindow* _window = nullptr;
    int _width = 0;
    int _height = 0;
    int _windowFlags = 0; // those the open window was made with
    BBWindowRequest _firstWindow{};
    int _swapInterval = 1;
    bool _focus = true;
    double _updatePeriod = 0;
    double _nextUpdate = 0;
    std::function<double()> _clock = &BBGlfwGame::GetTime;
    std::function<void(double)> _sleep;
    // Computed at construction, before any loader thread can map a path.
    String _programDir;
    BBGlfwJoystickSource _glfwJoysticks;
    BBJoystickPorts _joystickPorts{&_glfwJoysticks};
};
