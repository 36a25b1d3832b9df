// The vertical text menu of the title, options and redefine-keys screens: fixed lines in the game
// font, one selected and flashing, driven by keys, the joystick and the mouse.
#pragma once

#include <memory>
#include <vector>

#include "runtime/string.h"

class c_MenuItem {
public:
    c_MenuItem(const String& text, float red, float green, float blue)
        : m_text(text), m_red(red), m_green(green), m_blue(blue) {}

    String m_text;
    float m_red, m_green, m_blue;
};

class c_Menu {
public:
    // A menu of `count` lines, every one to be set with p_Set4 before use.
    explicit c_Menu(int count);

    void p_Set4(int index, const String& text, float red, float green, float blue);
    // 16 pixels per character of the longest line; 0 without lines.
    int p_Width() const;
    void p_SelectPreviousItem();
    void p_SelectNextItem();
    // The line whose pointer band holds the virtual point, or -1.
    int p_ItemHover(int x, int y) const;
    // The line the player activated in this update, or -1.
    int p_Update();
    void p_Render() const;

    // Where line i's text starts: centred in the block, lines m_lineSpacing rows apart.
    int p_ItemX(int index) const;
    int p_ItemY(int index) const;

    std::vector<std::unique_ptr<c_MenuItem>> m_items;
    int m_x = 0;
    int m_y = 0;
    int m_selected = -1;
    bool m_joyReady = true; // the stick must come back to the middle before it moves again
    int m_lineSpacing = 2;  // in 16-pixel rows
    int m_itemHeight = 16;  // height of a line's pointer band
    int m_pressedItem = -1; // the line under the pointer when its button went down

private:
    void UpdateSelection();
    int UpdatePointer();
    int ItemWidth(int index) const;
};
