// The menu: layout, selection by keys and stick, activation by key or by a click that is
// pressed and released over the same line.

#include "screens/menu.h"

#include <algorithm>

#include "graphics/virtual_display.h"
#include "input/input_device.h"
#include "input/key_codes.h"
#include "screens/steering.h"
#include "text/text.h"

c_Menu::c_Menu(int count) : m_items(static_cast<size_t>(std::max(count, 0))) {}

void c_Menu::p_Set4(int index, const String& text, float red, float green, float blue) {
    m_items.at(static_cast<size_t>(index)) = std::make_unique<c_MenuItem>(text, red, green, blue);
}

int c_Menu::ItemWidth(int index) const {
    const auto& item = m_items[static_cast<size_t>(index)];
    return item ? static_cast<int>(item->m_text.size()) * c_Text::m_CharWidth : 0;
}

int c_Menu::p_Width() const {
    int width = 0;
    for (int i = 0; i < static_cast<int>(m_items.size()); ++i)
        width = std::max(width, ItemWidth(i));
    return width;
}

int c_Menu::p_ItemX(int index) const {
    return m_x + (p_Width() - ItemWidth(index)) / 2;
}

int c_Menu::p_ItemY(int index) const {
    return m_y + index * m_lineSpacing * c_Text::m_CharWidth;
}

void c_Menu::p_SelectPreviousItem() {
    --m_selected;
    if (m_selected < 0)
        m_selected = static_cast<int>(m_items.size()) - 1;
}

void c_Menu::p_SelectNextItem() {
    ++m_selected;
    if (m_selected >= static_cast<int>(m_items.size()))
        m_selected = 0;
}

int c_Menu::p_ItemHover(int x, int y) const {
    for (int i = 0; i < static_cast<int>(m_items.size()); ++i) {
        int left = p_ItemX(i);
        int top = p_ItemY(i) - (m_itemHeight - c_Text::m_CharWidth) / 2;
        if (x >= left && x < left + ItemWidth(i) && y >= top && y < top + m_itemHeight)
            return i;
    }
    return -1;
}

void c_Menu::UpdateSelection() {
    float stick = bb_input_JoyY(0, 0);
    if (bb_input_KeyHit(KEY_UP) != 0 || bb_input_KeyHit(KEY_JOY0_UP) != 0 ||
        (m_joyReady && stick > bb_steering_StickThreshold)) {
        p_SelectPreviousItem();
        m_joyReady = false;
    } else if (bb_input_KeyHit(KEY_DOWN) != 0 || bb_input_KeyHit(KEY_JOY0_DOWN) != 0 ||
               (m_joyReady && stick < -bb_steering_StickThreshold)) {
        p_SelectNextItem();
        m_joyReady = false;
    }
    if (stick > -bb_steering_StickThreshold && stick < bb_steering_StickThreshold)
        m_joyReady = true;
}

int c_Menu::UpdatePointer() {
    c_VirtualDisplay* display = c_VirtualDisplay::m_Display.get();
    int hovered = -1;
    if (display) {
        hovered = p_ItemHover(static_cast<int>(display->p_VTouchX(0, true)),
                              static_cast<int>(display->p_VTouchY(0, true)));
    }
    // The first finger, which the left mouse button presses too.
    if (bb_input_KeyDown(KEY_TOUCH0)) {
        // The line under the pointer when the button went down is the one a release may
        // activate; dragging only moves the selection.
        if (bb_input_KeyHit(KEY_TOUCH0) != 0)
            m_pressedItem = hovered;
        if (hovered != -1)
            m_selected = hovered;
        return -1;
    }
    int pressed = m_pressedItem;
    m_pressedItem = -1;
    return pressed == hovered ? hovered : -1;
}

int c_Menu::p_Update() {
    UpdateSelection();
    bool activated = bb_input_KeyHit(KEY_ENTER) != 0 || bb_input_KeyHit(KEY_SPACE) != 0;
    // The first four joystick buttons activate too.
    for (int button = 0; button < 4; ++button) {
        activated = activated || bb_input_KeyHit(KEY_JOY0 + button) != 0;
    }
    if (activated)
        return m_selected;
    return UpdatePointer();
}

void c_Menu::p_Render() const {
    c_Text& text = *bb_text_spectrumText;
    for (int i = 0; i < static_cast<int>(m_items.size()); ++i) {
        const c_MenuItem& item = *m_items[static_cast<size_t>(i)];
        if (i == m_selected) {
            text.p_DrawFlashing(item.m_text, p_ItemX(i), p_ItemY(i), item.m_red, item.m_green,
                                item.m_blue);
        } else {
            text.p_Draw(item.m_text, p_ItemX(i), p_ItemY(i), item.m_red, item.m_green, item.m_blue);
        }
    }
}
