// The options screen: its lines, stepping each setting, applying it, and saving on the way out.

#include "screens/options_screen.h"

#include "game/tazzle.h"
#include "host/app.h"
#include "input/input_device.h"
#include "persist/settings.h"
#include "screens/back_request.h"
#include "screens/redefine_keys_screen.h"
#include "screens/screen_furniture.h"
#include "screens/title_screen.h"

namespace {

String PadRight(String text, size_t width) {
    if (text.size() < width)
        text.append(width - text.size(), u' ');
    return text;
}

String PadLeft(const String& text, size_t width) {
    return text.size() < width ? String(width - text.size(), u' ') + text : text;
}

int NextVolume(int volume) {
    volume += 10;
    return volume > 100 ? 0 : volume;
}

} // namespace

String bb_options_DifficultyLine(int difficulty) {
    static const char16_t* const names[] = {u"EASY      ", u"NORMAL    ", u"HARD      "};
    return String(u"          DIFFICULTY: ") + names[difficulty];
}

String bb_options_YesNoLine(const String& label, bool value) {
    return label + (value ? u"YES       " : u"NO        ");
}

String bb_options_ResolutionLine(int width, int height) {
    return u"          RESOLUTION: " + PadRight(bb_itos(width) + u"x" + bb_itos(height), 9) + u" ";
}

String bb_options_VolumeLine(const String& label, int volume) {
    return label + PadLeft(bb_itos(volume), 3) + u"%      ";
}

String bb_options_PixelsLine(bool sharp) {
    return String(u"              PIXELS: ") + (sharp ? u"SHARP     " : u"SMOOTH    ");
}

void c_OptionsScreen::p_OnInit() {
    c_Settings& settings = *bb_settings_gameSettings;
    m_modes.clear();
    for (const c_DisplayMode& mode : bb_app_DisplayModes()) {
        m_modes.push_back({mode.p_Width(), mode.p_Height()});
    }
    m_modeIndex = -1;
    if (m_modes.empty()) {
        m_modes.push_back({640, 480});
        m_modeIndex = 0;
    }
    for (int i = 0; i < static_cast<int>(m_modes.size()) && m_modeIndex < 0; ++i) {
        if (m_modes[i].width == settings.m_resolutionWidth &&
            m_modes[i].height == settings.m_resolutionHeight) {
            m_modeIndex = i;
        }
    }
    for (int i = 0; i < static_cast<int>(m_modes.size()) && m_modeIndex < 0; ++i) {
        if (m_modes[i].width == 640 && m_modes[i].height == 480)
            m_modeIndex = i;
    }
    if (m_modeIndex < 0)
        m_modeIndex = 0;
    // A saved resolution that the monitor no longer offers is replaced.
    settings.m_resolutionWidth = m_modes[m_modeIndex].width;
    settings.m_resolutionHeight = m_modes[m_modeIndex].height;

    m_menu = std::make_unique<c_Menu>(m_LineCount);
    p_UpdateOptions();
    m_menu->p_Set4(m_RedefineKeys, u"       REDEFINE KEYS...         ", 170, 0, 170);
    m_menu->p_Set4(m_Back, u" ** BACK ** ", 0, 0, 0);
    m_menu->m_x = 320 - m_menu->p_Width() / 2;
    m_menu->m_y = 112;
    m_menu->m_selected = m_Back;
}

void c_OptionsScreen::p_UpdateOptions() {
    const c_Settings& settings = *bb_settings_gameSettings;
    c_Menu& menu = *m_menu;
    auto blue = [&menu](int line, const String& text) { menu.p_Set4(line, text, 0, 0, 170); };
    auto green = [&menu](int line, const String& text) { menu.p_Set4(line, text, 0, 170, 0); };
    if (settings.m_difficulty >= 0 && settings.m_difficulty <= 2) {
        menu.p_Set4(m_Difficulty, bb_options_DifficultyLine(settings.m_difficulty), 170, 0, 0);
    }
    menu.p_Set4(m_GameSpeed, bb_options_VolumeLine(u"          GAME SPEED: ", settings.m_gameSpeed),
                170, 0, 0);
    blue(m_VerticalSync, bb_options_YesNoLine(u"       VERTICAL SYNC: ", settings.m_verticalSync));
    blue(m_FrameRateThrottle,
         bb_options_YesNoLine(u" FRAME RATE THROTTLE: ", settings.m_frameRateThrottle));
    blue(m_FullScreen, bb_options_YesNoLine(u"         FULL SCREEN: ", settings.m_fullScreen));
    blue(m_Resolution,
         bb_options_ResolutionLine(settings.m_resolutionWidth, settings.m_resolutionHeight));
    green(m_EffectsVolume,
          bb_options_VolumeLine(u"      EFFECTS VOLUME: ", settings.m_effectsVolume));
    green(m_MusicVolume, bb_options_VolumeLine(u"        MUSIC VOLUME: ", settings.m_musicVolume));
    blue(m_Pixels, bb_options_PixelsLine(settings.m_sharpPixels));
}

void c_OptionsScreen::Leave() {
    bb_settings_gameSettings->p_Save();
    bb_tazzle_titleScreen->p_OnInit();
    bb_tazzle_mainState = c_MainState::Title;
}

void c_OptionsScreen::Activate(int item) {
    c_Settings& settings = *bb_settings_gameSettings;
    switch (item) {
    case m_Difficulty:
        settings.m_difficulty = (settings.m_difficulty + 1) % 3;
        break;
    case m_GameSpeed:
        settings.m_gameSpeed = c_Settings::p_NextGameSpeed(settings.m_gameSpeed);
        settings.p_ApplySettings(false);
        break;
    case m_VerticalSync:
        settings.m_verticalSync = !settings.m_verticalSync;
        settings.p_ApplySettings(false);
        break;
    case m_FrameRateThrottle:
        settings.m_frameRateThrottle = !settings.m_frameRateThrottle;
        settings.p_ApplySettings(false);
        break;
    case m_FullScreen:
        settings.p_ToggleFullScreen();
        break;
    case m_Resolution:
        m_modeIndex = (m_modeIndex + 1) % static_cast<int>(m_modes.size());
        settings.m_resolutionWidth = m_modes[m_modeIndex].width;
        settings.m_resolutionHeight = m_modes[m_modeIndex].height;
        settings.p_ApplySettings(settings.m_fullScreen);
        break;
    case m_EffectsVolume:
        settings.m_effectsVolume = NextVolume(settings.m_effectsVolume);
        settings.p_ApplySettings(false);
        break;
    case m_MusicVolume:
        settings.m_musicVolume = NextVolume(settings.m_musicVolume);
        settings.p_ApplySettings(false);
        break;
    case m_Pixels:
        settings.m_sharpPixels = !settings.m_sharpPixels;
        settings.p_ApplySettings(false);
        break;
    case m_RedefineKeys:
        bb_tazzle_redefineKeysScreen->p_OnInit();
        bb_tazzle_mainState = c_MainState::RedefineKeys;
        break;
    case m_Back:
        Leave();
        break;
    default:
        break;
    }
}

void c_OptionsScreen::p_Update() {
    if (bb_back_Hit())
        Leave();
    p_UpdateOptions();
    Activate(m_menu->p_Update());
}

void c_OptionsScreen::p_Render() {
    bb_furniture_DrawMenuHeading(u" ** OPTIONS ** ");
    m_menu->p_Render();
}
