// The game-facing side of the host: the application base class, display modes and the bb_app_*
// module functions through which game code sets the window, the rate and reads the clock.
#pragma once

#include "runtime/string.h"

#include <memory>
#include <vector>

class BBGame;
class c_GameDelegate;

// The application: its hooks do nothing unless a game overrides them.
class c_App {
public:
    virtual ~c_App();
    // Registers this object as the one application and hands a new delegate to the host. A second
    // application is the runtime error "App has already been created".
    c_App* m_new();

    virtual void p_OnCreate() {}
    virtual void p_OnSuspend() {}
    virtual void p_OnUpdate() {}
    virtual void p_OnRender() {}
    void p_OnResize() {}
    void p_OnResume() {}
    void p_OnLoading() {}
    // True while the application waits for its loads before it can show anything else: the
    // frame loop then runs the updates that take them as soon as they arrive.
    virtual bool IsLoading() const { return false; }
    void p_OnClose();
    void p_OnBack();
};

class c_DisplayMode {
public:
    c_DisplayMode(int width, int height) : m__width(width), m__height(height) {}
    int p_Width() const { return m__width; }
    int p_Height() const { return m__height; }

    int m__width;
    int m__height;
};

extern c_App* bb_app__app;
extern c_GameDelegate* bb_app__delegate;
extern BBGame* bb_app__game;
extern int bb_app__devWidth;
extern int bb_app__devHeight;
extern std::vector<c_DisplayMode> bb_app__displayModes;
extern std::unique_ptr<c_DisplayMode> bb_app__desktopMode;
extern int bb_app__updateRate;

// Takes ownership of the application object for the rest of the run and calls its m_new.
template <class App> App* bb_app_CreateApp();
// Resets the module's globals and drops the application and delegate it owns (used by bbInit).
void bb_app_Reset();
// Closes the devices the delegate owns (input, audio, then graphics) once no loader thread can
// still call into them; used on the way out.
void bb_app_ReleaseDevices();

void bb_app_SetDeviceWindow(int width, int height, int flags);
// True once after the window left full screen on its own (a browser's Escape): the game's
// full-screen setting is to follow.
bool bb_app_TakeFullscreenLeft();
void bb_app_ValidateDeviceWindow(bool notifyApp);
int bb_app_DeviceWidth();
int bb_app_DeviceHeight();
void bb_app_SetUpdateRate(int hertz);
void bb_app_SetSwapInterval(int interval);
int bb_app_Millisecs();
const std::vector<c_DisplayMode>& bb_app_DisplayModes();
void bb_app_EnumDisplayModes();
[[noreturn]] void bb_app_EndApp();
String bb_app_LoadState();
int bb_app_SaveState(const String& state);
String bb_app_LoadString(const String& path);

// Keeps the application object alive for the run; returns it.
c_App* bb_app_Adopt(std::unique_ptr<c_App> app);

template <class App> App* bb_app_CreateApp() {
    auto app = std::make_unique<App>();
    App* raw = app.get();
    bb_app_Adopt(std::move(app));
    raw->m_new();
    return raw;
}
