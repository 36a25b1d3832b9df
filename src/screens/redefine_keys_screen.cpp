// The key redefinition screen: binding any keyboard key (codes 1 to 255) to a control.

#include "screens/redefine_keys_screen.h"

#include "game/tazzle.h"
#include "input/input_device.h"
#include "input/key_names.h"
#include "persist/settings.h"
#include "screens/back_request.h"
#include "screens/screen_furniture.h"

namespace {

constexpr int kLastBindableKey = 255; // joystick buttons cannot be bound here
constexpr int kNameWidth = 14;

struct ControlLine {
    const char16_t* label;
    float r, g, b;
};

constexpr ControlLine kLines[c_Control::Count] = {
    {u"           MOVE UP: ", 0, 0, 170},   {u"         MOVE DOWN: ", 0, 0, 170},
    {u"         MOVE LEFT: ", 0, 0, 170},   {u"        MOVE RIGHT: ", 0, 0, 170},
    {u"             PAUSE: ", 170, 0, 170}, {u"      TOGGLE MUSIC: ", 0, 170, 0},
    {u" TOGGLE FULLSCREEN: ", 170, 0, 0}};

} // namespace

void c_RedefineKeysScreen::p_OnInit() {
    m_state = 0;
    m_menu = std::make_unique<c_Menu>(8);
    p_UpdateKeys();
    m_menu->p_Set4(m_Back, u" ** BACK ** ", 0, 0, 0);
    m_menu->m_x = 48;
    m_menu->m_y = 112;
    m_menu->m_selected = m_Back;
}

String c_RedefineKeysScreen::p_ControlLine(int control) const {
    String line = kLines[control].label;
    if (m_state == 1 && control == m_control) {
        return line + u"<PRESS KEY>   ";
    }
    return line +
           bb_settings_KeyCodeToName(bb_settings_gameSettings->m_controls[control], kNameWidth);
}

void c_RedefineKeysScreen::p_UpdateKeys() {
    for (int control = 0; control < c_Control::Count; ++control) {
        const ControlLine& line = kLines[control];
        m_menu->p_Set4(control, p_ControlLine(control), line.r, line.g, line.b);
    }
}

void c_RedefineKeysScreen::WaitForKey() {
    // Ascending order, so the highest code hit in the same update is the one that stays.
    for (int code = 1; code <= kLastBindableKey; ++code) {
        if (bb_input_KeyHit(code) != 0) {
            bb_settings_gameSettings->m_controls[m_control] = code;
            m_state = 0;
        }
    }
}

void c_RedefineKeysScreen::p_Update() {
    if (bb_back_Hit())
        bb_tazzle_mainState = c_MainState::Options;
    p_UpdateKeys();
    if (m_state == 1) {
        WaitForKey();
        return;
    }
    int item = m_menu->p_Update();
    if (item >= 0 && item < c_Control::Count) {
        m_control = item;
        m_state = 1;
    } else if (item == m_Back) {
        bb_tazzle_mainState = c_MainState::Options;
    }
}

void c_RedefineKeysScreen::p_Render() {
    bb_furniture_DrawMenuHeading(u" REDEFINE KEYS ");
    m_menu->p_Render();
}
