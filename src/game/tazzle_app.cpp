// The application's state machine: creating the screens, loading behind "LOADING...", starting
// the music, handing each update and render to the current screen, and the global keys.

#include "game/tazzle_app.h"

#include "audio/audio.h"
#include "game/tazzle.h"
#include "graphics/graphics.h"
#include "graphics/virtual_display.h"
#include "host/options.h"
#include "input/input_device.h"
#include "input/key_codes.h"
#include "loading/async_event.h"
#include "loading/game_sounds.h"
#include "loading/spectrum_font_images.h"
#include "loading/title_images.h"
#include "persist/settings.h"
#include "road/road_screen.h"
#include "screens/options_screen.h"
#include "screens/redefine_keys_screen.h"
#include "screens/title_screen.h"
#include "ski/no_money_screen.h"
#include "ski/ski_screen.h"
#include "text/text.h"

namespace {

bool ControlHit(int control) {
    int code = bb_settings_gameSettings->m_controls[control];
    // A code outside the key range disables the control.
    return code >= 1 && code <= 511 && bb_input_KeyHit(code) != 0;
}

bool AllGroupsLoaded() {
    return bb_text_spectrumText->p_IsFontLoaded() && bb_titlegraphics_titleImages->p_IsLoaded() &&
           bb_gamesounds_gameSounds->p_IsLoaded();
}

// The application owns each screen; the game's global points to it.
template <class Screen> void Adopt(std::unique_ptr<Screen>& owner, Screen*& global) {
    owner = std::make_unique<Screen>();
    global = owner.get();
}

void PumpEventsIfIdle() {
    if (bb_asyncevent__current == nullptr)
        bb_asyncevent_UpdateAsyncEvents();
}

} // namespace

c_TazzleApp::c_TazzleApp() = default;

c_TazzleApp::~c_TazzleApp() {
    // The globals must not outlive the screens they point to.
    bb_tazzle_titleScreen = nullptr;
    bb_tazzle_roadScreen = nullptr;
    bb_tazzle_skiScreen = nullptr;
    bb_tazzle_noMoneyScreen = nullptr;
    bb_tazzle_optionsScreen = nullptr;
    bb_tazzle_redefineKeysScreen = nullptr;
}

void c_TazzleApp::p_OnCreate() {
    c_VirtualDisplay::m_new(kVirtualScreenWidth, kVirtualScreenHeight, 1.0f);
    bb_settings_gameSettings->p_Load();
    // Loading is also where a showing reads the watcher's own settings, which then decide the
    // display, the command line's choice included.
    c_Settings& presented = bb_settings_Presentation();
    if (bb_options_current.fullScreen)
        presented.p_SetFullScreenForRun(*bb_options_current.fullScreen);
    // In full screen the frame loop has already opened this window (bb_settings_FirstWindow),
    // and the host keeps a window asked for again as it is.
    presented.p_ApplySettings(presented.m_fullScreen);
}

void c_TazzleApp::p_OnSuspend() {
    bb_tazzle_paused = true;
}

void c_TazzleApp::CreateScreens() {
    Adopt(m_titleScreen, bb_tazzle_titleScreen);
    Adopt(m_roadScreen, bb_tazzle_roadScreen);
    Adopt(m_skiScreen, bb_tazzle_skiScreen);
    Adopt(m_noMoneyScreen, bb_tazzle_noMoneyScreen);
    Adopt(m_optionsScreen, bb_tazzle_optionsScreen);
    Adopt(m_redefineKeysScreen, bb_tazzle_redefineKeysScreen);
}

void c_TazzleApp::UpdateLoading() {
    if (!AllGroupsLoaded()) {
        PumpEventsIfIdle();
        return;
    }
    if (bb_audio_MusicState() == 0) {
        bb_settings_Presentation().p_ApplyMusicVolume();
        bb_audio_PlayMusic(u"Sounds/Music.ogg", 1);
    }
    bb_tazzle_titleScreen->p_OnInit();
    bb_tazzle_mainState = c_MainState::Title;
}

bool c_TazzleApp::IsLoading() const {
    return bb_tazzle_mainState == c_MainState::Loading;
}

void c_TazzleApp::UpdateGlobalKeys() {
    c_Settings& settings = *bb_settings_gameSettings;
    // A pad's Start pauses as the pause key does; both at once pause once.
    if (ControlHit(c_Control::Pause) || bb_input_KeyHit(KEY_JOY0_START) != 0)
        bb_tazzle_paused = !bb_tazzle_paused;
    // Not saved: it reaches the state file only if the options screen is left later.
    if (ControlHit(c_Control::FullScreen))
        settings.p_ToggleFullScreen();
    if (ControlHit(c_Control::Music))
        settings.p_ToggleMusic();
}

void c_TazzleApp::p_OnUpdate() {
    // A browser leaves full screen on its own at Escape: the setting follows the window.
    if (bb_app_TakeFullscreenLeft())
        bb_settings_Presentation().m_fullScreen = false;
    switch (bb_tazzle_mainState) {
    case c_MainState::Init:
        CreateScreens();
        bb_text_spectrumText->p_LoadFontAsync();
        bb_titlegraphics_titleImages->p_StartLoad();
        bb_gamesounds_gameSounds->p_StartLoad();
        bb_tazzle_mainState = c_MainState::Loading;
        break;
    case c_MainState::Loading:
        UpdateLoading();
        break;
    case c_MainState::Title:
        bb_tazzle_titleScreen->p_OnUpdate();
        break;
    case c_MainState::Road:
        bb_tazzle_roadScreen->p_OnUpdate();
        break;
    case c_MainState::Ski:
        bb_tazzle_skiScreen->p_OnUpdate();
        break;
    case c_MainState::NoMoney:
        bb_tazzle_noMoneyScreen->p_OnUpdate();
        break;
    case c_MainState::Options:
        bb_tazzle_optionsScreen->p_Update();
        break;
    case c_MainState::RedefineKeys:
        bb_tazzle_redefineKeysScreen->p_Update();
        break;
    default:
        break;
    }
    // While keys are being redefined every key is a candidate binding, not a command.
    if (bb_tazzle_mainState != c_MainState::RedefineKeys)
        UpdateGlobalKeys();
    bb_text_spectrumText->p_UpdateFlash();
}

void c_TazzleApp::p_OnRender() {
    c_VirtualDisplay::m_Display->p_UpdateVirtualDisplay(true, true);
    switch (bb_tazzle_mainState) {
    case c_MainState::Init:
        bb_graphics_Cls(0, 0, 0);
        break;
    case c_MainState::Loading:
        bb_graphics_Cls(0, 0, 0);
        if (bb_text_spectrumText->p_IsFontLoaded()) {
            bb_text_spectrumText->p_DrawFlashing(u"LOADING...", 240, 232, 255, 255, 255);
        }
        break;
    case c_MainState::Title:
        bb_tazzle_titleScreen->p_OnRender();
        break;
    case c_MainState::Road:
        bb_tazzle_roadScreen->p_OnRender();
        break;
    case c_MainState::Ski:
        bb_tazzle_skiScreen->p_OnRender();
        break;
    case c_MainState::NoMoney:
        bb_tazzle_noMoneyScreen->p_OnRender();
        break;
    case c_MainState::Options:
        bb_tazzle_optionsScreen->p_Render();
        break;
    case c_MainState::RedefineKeys:
        bb_tazzle_redefineKeysScreen->p_Render();
        break;
    default:
        break;
    }
}
