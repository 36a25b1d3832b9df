// The title screen: the tinted title picture, the version, the two-line menu, the scrolling
// instructions and credits, and the fade that starts a game.
#pragma once

#include <array>
#include <memory>

#include "runtime/string.h"
#include "screens/fade.h"
#include "screens/menu.h"

class c_TitleScreen {
public:
    static constexpr int m_TintUpdates = 4;
    static constexpr int m_ScrollChars = 41; // characters drawn along the bottom line
    static constexpr int m_ScrollY = 424;
    // Values of m_state.
    static constexpr int kStateMenu = 0;
    static constexpr int kStateStarting = 1; // the fade into the road
    // The menu's lines: START GAME, OPTIONS.
    static constexpr int kMenuLines = 2;

    c_TitleScreen();

    // Entering the title: a fresh menu and scroll text with the current key names; the tint and
    // the scroll carry on from where they were.
    void p_OnInit();
    void p_Update();
    void p_Render();
    // The same, but only once the title picture has arrived.
    void p_OnUpdate();
    void p_OnRender();

    // The text drawn along the bottom line this update.
    String p_VisibleScrollText() const;

    int m_state = kStateMenu;
    std::unique_ptr<c_Menu> m_menu;
    String m_scrollText;
    int m_colourDelay = m_TintUpdates;
    int m_colourIndex = 0; // index of the red component of the current tint
    std::array<int, 42> m_colours;
    int m_scrollOffset = 0; // 0 to 14, in steps of 2
    int m_scrollPos = 0;    // first visible character
    c_Fade m_fade{false};

private:
    void UpdateTint();
    void UpdateScroll();
    void UpdateMenu();
    void UpdateStarting();
    void StartNewGame();
};

// The scrolling text: the lead-in, the control keys' names, the hint and the credits.
String bb_title_ScrollText();

// True when the title's menu reads the player's input in the next update: the title runs, with its
// picture loaded, and no game is starting.
bool bb_title_MenuTakesInput();
