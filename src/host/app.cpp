// The application base class, display modes and the bb_app_* module functions.
#include "host/app.h"

#include "files/data_path.h"
#include "host/bb_game.h"
#include "host/devices.h"
#include "host/errors.h"
#include "host/game_delegate.h"
#include "host/game_session.h"
#include "input/input_device.h"
#include "runtime/errors.h"

#include <set>

c_App* bb_app__app = nullptr;
c_GameDelegate* bb_app__delegate = nullptr;
BBGame* bb_app__game = nullptr;
int bb_app__devWidth = 0;
int bb_app__devHeight = 0;
std::vector<c_DisplayMode> bb_app__displayModes;
std::unique_ptr<c_DisplayMode> bb_app__desktopMode;
int bb_app__updateRate = 0;

namespace {

// The application objects handed over by bbMain and the delegate of the registered one; they
// live for the rest of the run.
std::vector<std::unique_ptr<c_App>> g_apps;
std::unique_ptr<c_GameDelegate> g_delegate;

} // namespace

c_App::~c_App() {
    if (bb_app__app == this)
        bb_app__app = nullptr;
}

c_App* c_App::m_new() {
    if (bb_app__app)
        bbError(u"App has already been created");
    bb_app__app = this;
    g_delegate = std::make_unique<c_GameDelegate>();
    bb_app__delegate = g_delegate.get();
    if (bb_app__game)
        bb_app__game->SetDelegate(bb_app__delegate);
    return this;
}

void c_App::p_OnClose() {
    bb_app_EndApp();
}
void c_App::p_OnBack() {
    p_OnClose();
}

c_App* bb_app_Adopt(std::unique_ptr<c_App> app) {
    g_apps.push_back(std::move(app));
    return g_apps.back().get();
}

void bb_app_Reset() {
    if (bb_app__game && bb_app__delegate && bb_app__game->Delegate() == bb_app__delegate)
        bb_app__game->SetDelegate(nullptr);
    bb_app__game = BBGame::_game;
    bb_app__app = nullptr;
    bb_app__delegate = nullptr;
    g_delegate.reset();
    g_apps.clear();
    bb_app__devWidth = 0;
    bb_app__devHeight = 0;
    bb_app__displayModes.clear();
    bb_app__desktopMode.reset();
    bb_app__updateRate = 0;
}

void bb_app_ReleaseDevices() {
    if (!g_delegate)
        return;
    // A loader thread may be about to load into a device. A loader that does not finish in time
    // keeps the devices open: the end of the process takes them.
    if (bb_app_deviceHooks.awaitLoaders && !bb_app_deviceHooks.awaitLoaders())
        return;
    if (bb_input_device == g_delegate->m__input.get())
        bb_input_device = nullptr;
    g_delegate->m__input.reset();
    g_delegate->m__audio.reset();
    g_delegate->m__graphics.reset();
}

void bb_app_SetDeviceWindow(int width, int height, int flags) {
    bb_app__game->SetDeviceWindow(width, height, flags);
    bb_app_ValidateDeviceWindow(true);
}

bool bb_app_TakeFullscreenLeft() {
    return bb_app__game->TakeFullscreenLeft();
}

void bb_app_ValidateDeviceWindow(bool /*notifyApp*/) {
    int width = bb_app__game->GetDeviceWidth();
    int height = bb_app__game->GetDeviceHeight();
    if (width != bb_app__devWidth || height != bb_app__devHeight) {
        bb_app__devWidth = width;
        bb_app__devHeight = height;
    }
}

int bb_app_DeviceWidth() {
    return bb_app__devWidth;
}
int bb_app_DeviceHeight() {
    return bb_app__devHeight;
}

void bb_app_SetUpdateRate(int hertz) {
    bb_app__updateRate = hertz;
    bb_app__game->SetUpdateRate(hertz);
}

void bb_app_SetSwapInterval(int interval) {
    bb_app__game->SetSwapInterval(interval);
}
int bb_app_Millisecs() {
    const int millisecs = bb_app__game->Millisecs();
    return bb_host_session ? bb_host_session->Clock(millisecs) : millisecs;
}
const std::vector<c_DisplayMode>& bb_app_DisplayModes() {
    return bb_app__displayModes;
}

void bb_app_EnumDisplayModes() {
    std::set<int> seen;
    std::vector<c_DisplayMode> modes;
    for (const BBDisplayMode& mode : bb_app__game->GetDisplayModes()) {
        // Several refresh rates and depths of one size are one mode to the player.
        int key = (mode.width << 16) | mode.height;
        if (seen.insert(key).second)
            modes.emplace_back(mode.width, mode.height);
    }
    bb_app__displayModes = std::move(modes);
    if (auto desktop = bb_app__game->GetDesktopMode())
        bb_app__desktopMode = std::make_unique<c_DisplayMode>(desktop->width, desktop->height);
    else
        bb_app__desktopMode = std::make_unique<c_DisplayMode>(bb_app__devWidth, bb_app__devHeight);
}

void bb_app_EndApp() {
    bbError(String());
}

String bb_app_LoadState() {
    if (bb_host_session)
        return bb_host_session->LoadState(*bb_app__game);
    return bb_app__game->LoadState();
}
int bb_app_SaveState(const String& state) {
    if (bb_host_session)
        return bb_host_session->SaveState(*bb_app__game, state);
    return bb_app__game->SaveState(state);
}
String bb_app_LoadString(const String& path) {
    return bb_app__game->LoadString(bb_data_FixDataPath(path));
}
