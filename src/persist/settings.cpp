// The player's settings: defaults, reading and writing them through the state store, and
// applying them to the host and the audio device.

#include "persist/settings.h"

#include <algorithm>

#include "audio/audio.h"
#include "graphics/graphics.h"
#include "host/app.h"
#include "host/options.h"
#include "host/window_flags.h"
#include "runtime/number_parse.h"

std::unique_ptr<c_Settings> bb_settings_gameSettings;
std::unique_ptr<c_Settings> bb_settings_watcherSettings;

c_Settings& bb_settings_Presentation() {
    return bb_settings_watcherSettings ? *bb_settings_watcherSettings : *bb_settings_gameSettings;
}

BBWindowRequest bb_settings_FirstWindow() {
    c_Settings loaded;
    // Loading is also where a showing reads the watcher's own settings.
    loaded.p_Load();
    c_Settings& shown = bb_settings_watcherSettings ? *bb_settings_watcherSettings : loaded;
    if (bb_options_current.fullScreen)
        shown.p_SetFullScreenForRun(*bb_options_current.fullScreen);
    return shown.p_Window();
}

namespace {

// The control keys' names in the store, in c_Control order, and their default key codes
// (Q, Z, I, P, H, M, F11).
constexpr const char16_t* kControlKeys[c_Control::Count] = {
    u"ControlUp",    u"ControlDown",  u"ControlLeft",      u"ControlRight",
    u"ControlPause", u"ControlMusic", u"ControlFullscreen"};
constexpr int kDefaultControls[c_Control::Count] = {81, 90, 73, 80, 72, 77, 122};

// Keeps the field as it is when the store has no text for the key.
void ReadInt(const c_SimpleState& state, const char16_t* key, int& field) {
    String text = state.p_Get(key);
    if (!text.empty())
        field = bb_parse_Int(text);
}

void ReadBool(const c_SimpleState& state, const char16_t* key, bool& field) {
    String text = state.p_Get(key);
    if (!text.empty())
        field = bb_parse_Int(text) != 0;
}

// The largest side a window system is asked for (X11 keeps sizes and positions in 16 bits).
constexpr int kLargestResolution = 32767;

// The slowest game speed, in percent.
constexpr int kSlowestSpeed = 50;
// Updates per second at full speed.
constexpr int kFullSpeedRate = 60;

bool IsOpenableSide(int pixels) {
    return pixels >= 1 && pixels <= kLargestResolution;
}

} // namespace

c_Settings::c_Settings() : m_state(std::make_unique<c_SimpleState>()) {
    std::copy(std::begin(kDefaultControls), std::end(kDefaultControls), m_controls.begin());
}

void c_Settings::p_Load() {
    m_state->p_Load();
    p_ReadFields();
}

BBWindowRequest c_Settings::p_Window() const {
    // Windowed is always 640 x 480 (resizable, decorated); the resolution is for full screen.
    if (m_fullScreen)
        return {m_resolutionWidth, m_resolutionHeight, BBWindowFlags::kFullscreen};
    return BBWindowRequest{};
}

void c_Settings::p_ReadFields() {
    const c_SimpleState& state = *m_state;
    ReadInt(state, u"Difficulty", m_difficulty);
    ReadInt(state, u"GameSpeed", m_gameSpeed);
    ReadBool(state, u"VerticalSync", m_verticalSync);
    ReadBool(state, u"FrameRateThrottle", m_frameRateThrottle);
    ReadBool(state, u"FullScreen", m_fullScreen);
    ReadInt(state, u"ResolutionWidth", m_resolutionWidth);
    ReadInt(state, u"ResolutionHeight", m_resolutionHeight);
    ReadInt(state, u"EffectsVolume", m_effectsVolume);
    ReadInt(state, u"MusicVolume", m_musicVolume);
    ReadBool(state, u"SharpPixels", m_sharpPixels);
    for (int control = 0; control < c_Control::Count; ++control) {
        ReadInt(state, kControlKeys[control], m_controls[control]);
    }
    // A hand-edited file may hold anything: a volume beyond 100 would drive the gain far past
    // full scale, and a difficulty beyond the three levels has no traffic or gate tables.
    m_difficulty = std::clamp(m_difficulty, c_Difficulty::Easy, c_Difficulty::Hard);
    // A speed the options do not offer takes the nearest slower one they do; none is slower
    // than half, so a stray 0 cannot stop the game.
    m_gameSpeed = std::clamp(m_gameSpeed, kSlowestSpeed, 100) / 10 * 10;
    m_effectsVolume = std::clamp(m_effectsVolume, 0, 100);
    m_musicVolume = std::clamp(m_musicVolume, 0, 100);
    // Window creation refuses a size of zero or less and ends the program, so a resolution no
    // window system could open falls back to the windowed size instead.
    if (!IsOpenableSide(m_resolutionWidth) || !IsOpenableSide(m_resolutionHeight)) {
        m_resolutionWidth = 640;
        m_resolutionHeight = 480;
    }
}

void c_Settings::p_Save() {
    p_WriteFields();
    m_state->p_Save();
}

void c_Settings::p_WriteFields() {
    WriteFieldsTo(*m_state);
}

String c_Settings::p_EncodeFields() const {
    c_SimpleState state;
    WriteFieldsTo(state);
    return state.p_Encode();
}

void c_Settings::WriteFieldsTo(c_SimpleState& state) const {
    auto flag = [](bool value) { return String(value ? u"1" : u"0"); };
    state.p_Clear();
    state.p_Set2(u"Difficulty", bb_itos(m_difficulty));
    state.p_Set2(u"GameSpeed", bb_itos(m_gameSpeed));
    state.p_Set2(u"VerticalSync", flag(m_verticalSync));
    state.p_Set2(u"FrameRateThrottle", flag(m_frameRateThrottle));
    state.p_Set2(u"FullScreen", flag(m_savedFullScreen.value_or(m_fullScreen)));
    state.p_Set2(u"ResolutionWidth", bb_itos(m_resolutionWidth));
    state.p_Set2(u"ResolutionHeight", bb_itos(m_resolutionHeight));
    state.p_Set2(u"EffectsVolume", bb_itos(m_effectsVolume));
    state.p_Set2(u"MusicVolume", bb_itos(m_musicVolume));
    state.p_Set2(u"SharpPixels", flag(m_sharpPixels));
    for (int control = 0; control < c_Control::Count; ++control) {
        state.p_Set2(kControlKeys[control], bb_itos(m_controls[control]));
    }
}

bool c_Settings::ReachesDevices() const {
    return !bb_settings_watcherSettings || this != bb_settings_gameSettings.get();
}

void c_Settings::p_ApplySettings(bool changeWindow) {
    // A recording's own full-screen key or options must not switch the watcher's display.
    if (!ReachesDevices())
        return;
    if (changeWindow) {
        // (bb_app_SetDeviceWindow also takes the new size into the application's view.)
        const BBWindowRequest window = p_Window();
        bb_app_SetDeviceWindow(window.width, window.height, window.flags);
    }
    bb_app_SetUpdateRate(p_UpdateRate());
    bb_app_SetSwapInterval(m_verticalSync ? 1 : 0);
    p_ApplyMusicVolume();
    for (int channel = 0; channel <= 4; ++channel) {
        bb_audio_SetChannelVolume(channel, static_cast<float>(m_effectsVolume) / 100);
    }
    bb_graphics_SetSharpPixels(m_sharpPixels);
}

int c_Settings::p_UpdateRate() const {
    if (!m_frameRateThrottle && m_gameSpeed >= 100)
        return 0;
    return kFullSpeedRate * m_gameSpeed / 100;
}

int c_Settings::p_NextGameSpeed(int speed) {
    return speed - 10 < kSlowestSpeed ? 100 : speed - 10;
}

void c_Settings::p_SetFullScreenForRun(bool fullScreen) {
    if (!m_savedFullScreen)
        m_savedFullScreen = m_fullScreen;
    m_fullScreen = fullScreen;
}

void c_Settings::p_ToggleFullScreen() {
    m_savedFullScreen.reset();
    m_fullScreen = !m_fullScreen;
    p_ApplySettings(true);
}

void c_Settings::p_ToggleMusic() {
    m_musicOff = !m_musicOff;
    p_ApplyMusicVolume();
}

void c_Settings::p_ApplyMusicVolume() {
    if (!ReachesDevices())
        return;
    int volume = m_musicOff ? 0 : m_musicVolume;
    bb_audio_SetMusicVolume(static_cast<float>(volume) / 100);
}
