// The title screen's update and drawing, and the new-game set-up.

#include "screens/title_screen.h"

#include <algorithm>
#include <memory>

#include "game/random.h"
#include "game/tazzle.h"
#include "graphics/graphics.h"
#include "host/app.h"
#include "input/input_device.h"
#include "input/key_names.h"
#include "loading/async_event.h"
#include "loading/ski_sounds.h"
#include "loading/title_images.h"
#include "persist/settings.h"
#include "road/road_screen.h"
#include "screens/back_request.h"
#include "screens/options_screen.h"
#include "text/text.h"

namespace {

constexpr float kMenuBlue = 180;

// The menu's lines.
constexpr int kItemStartGame = 0;
constexpr int kItemOptions = 1;

// Forty-one spaces, so the text scrolls in from the right edge, then the lead-in, which hands
// over to the list of keys.
constexpr const char16_t* kLeadIn =
    u"                                         "
    u"WELCOME TO SKIDDLEWICK! HELP TAZZLE DODGE THE CARS, HIRE SKIS AND RACE DOWN THE SLOPE. "
    u"CONTROLS: JOYSTICK OR ";
constexpr const char16_t* kCredits =
    u"PICTURES, SOUNDS, MUSIC AND CODE MADE FOR SKIDDLEWICK BY ITS OWN SMALL TEAM. ENJOY! ";

// Fourteen tints of (red, green, blue), four updates each.
// clang-format off
constexpr std::array<int, 42> kTints = {
    0, 0, 0,      0, 0, 90,     0, 0, 180,    90, 0, 90,    180, 0, 0,    180, 0, 90,
    180, 0, 180,  90, 90, 90,   0, 180, 0,    0, 180, 90,   0, 180, 180,  90, 180, 90,
    180, 180, 0,  90, 90, 0};
// clang-format on

String KeyName(int control) {
    return bb_settings_KeyCodeToName(bb_settings_gameSettings->m_controls[control], 0);
}

} // namespace

String bb_title_ScrollText() {
    String text = kLeadIn;
    text += KeyName(c_Control::Left) + u" - LEFT, ";
    text += KeyName(c_Control::Right) + u" - RIGHT, ";
    text += KeyName(c_Control::Up) + u" - UP, ";
    text += KeyName(c_Control::Down) + u" - DOWN, ";
    text += KeyName(c_Control::Pause) + u" - PAUSE, ";
    text += KeyName(c_Control::Music) + u" - TOGGLE MUSIC, ";
    text += KeyName(c_Control::FullScreen) + u" - TOGGLE FULLSCREEN. ";
    text += u"SELECT 'START GAME' TO PLAY. ";
    text += kCredits;
    return text;
}

bool bb_title_MenuTakesInput() {
    const c_TitleScreen* title = bb_tazzle_titleScreen;
    return bb_tazzle_mainState == c_MainState::Title && title && title->m_menu &&
           title->m_state == c_TitleScreen::kStateMenu &&
           bb_titlegraphics_titleImages->p_IsLoaded();
}

c_TitleScreen::c_TitleScreen() : m_colours(kTints) {}

void c_TitleScreen::p_OnInit() {
    m_state = kStateMenu;
    bb_titlegraphics_titleImages->p_StartLoad();
    m_menu = std::make_unique<c_Menu>(kMenuLines);
    m_menu->p_Set4(kItemStartGame, u"START GAME", 0, 0, kMenuBlue);
    m_menu->p_Set4(kItemOptions, u"OPTIONS", 0, 0, kMenuBlue);
    m_menu->m_x = 320 - m_menu->p_Width() / 2;
    m_menu->m_y = 16;
    m_menu->m_selected = kItemStartGame;
    m_scrollText = bb_title_ScrollText();
    // The scroll position may lie beyond a shorter text built with shorter key names.
    if (m_scrollPos >= static_cast<int>(m_scrollText.size()))
        m_scrollPos = 0;
}

void c_TitleScreen::UpdateTint() {
    --m_colourDelay;
    if (m_colourDelay < 1) {
        m_colourDelay = m_TintUpdates;
        m_colourIndex = (m_colourIndex + 3) % static_cast<int>(m_colours.size());
    }
}

void c_TitleScreen::UpdateScroll() {
    m_scrollOffset += 2;
    if (m_scrollOffset > 15) {
        m_scrollOffset = 0;
        ++m_scrollPos;
        if (m_scrollPos >= static_cast<int>(m_scrollText.size()))
            m_scrollPos = 0;
    }
}

void c_TitleScreen::StartNewGame() {
    bb_tazzle_NewGame();
    bb_random_Seed = bb_app_Millisecs();
    bb_tazzle_roadScreen->p_OnInit();
    bb_tazzle_paused = false;
    m_state = kStateStarting;
}

void c_TitleScreen::UpdateMenu() {
    switch (m_menu->p_Update()) {
    case kItemStartGame:
        StartNewGame();
        break;
    case kItemOptions:
        bb_tazzle_optionsScreen->p_OnInit();
        bb_tazzle_mainState = c_MainState::Options;
        break;
    default:
        break;
    }
    if (bb_back_Hit())
        bb_app_EndApp();
}

void c_TitleScreen::UpdateStarting() {
    bb_skisounds_skiSounds->p_Discard();
    c_RoadScreen::p_StartLoads();
    bb_asyncevent_UpdateAsyncEvents();
    if (!m_fade.p_OnUpdate())
        bb_tazzle_mainState = c_MainState::Road;
}

void c_TitleScreen::p_Update() {
    UpdateTint();
    UpdateScroll();
    if (m_state == kStateMenu) {
        UpdateMenu();
    } else if (m_state == kStateStarting) {
        UpdateStarting();
    }
}

String c_TitleScreen::p_VisibleScrollText() const {
    return m_scrollText.substr(std::min(static_cast<size_t>(m_scrollPos), m_scrollText.size()),
                               m_ScrollChars);
}

void c_TitleScreen::p_Render() {
    c_Text& text = *bb_text_spectrumText;
    bb_graphics_Cls(170, 170, 170);
    int versionX = (40 - static_cast<int>(bb_tazzle_version.size())) * c_Text::m_CharWidth;
    text.p_Draw(bb_tazzle_version, versionX, 0, 0, 0, 0);
    bb_graphics_SetColor(static_cast<float>(m_colours[m_colourIndex]),
                         static_cast<float>(m_colours[m_colourIndex + 1]),
                         static_cast<float>(m_colours[m_colourIndex + 2]));
    // A title picture that failed to load arrives as null: the screen goes on without it.
    if (c_Image* title = std::to_address(bb_titlegraphics_titleImages->m_title)) {
        bb_graphics_DrawImage(title, 0, 0, 0);
    }
    text.p_Draw(p_VisibleScrollText(), -m_scrollOffset, m_ScrollY, 0, 0, 170);
    m_menu->p_Render();
    if (m_state == kStateStarting)
        m_fade.p_OnRender();
}

void c_TitleScreen::p_OnUpdate() {
    if (bb_titlegraphics_titleImages->p_IsLoaded()) {
        p_Update();
    } else {
        bb_asyncevent_UpdateAsyncEvents();
    }
}

void c_TitleScreen::p_OnRender() {
    if (bb_titlegraphics_titleImages->p_IsLoaded()) {
        p_Render();
    } else {
        bb_graphics_Cls(170, 170, 170);
    }
}
