// The options screen: difficulty, game speed, vertical sync, frame-rate throttle, full screen,
// resolution, the two volumes, smooth or sharp pixels and the way to the key redefinition; leaving
// it saves the settings.
#pragma once

#include <memory>
#include <vector>

#include "runtime/string.h"
#include "screens/menu.h"

class c_OptionsScreen {
public:
    // Menu lines.
    static constexpr int m_Difficulty = 0;
    static constexpr int m_GameSpeed = 1;
    static constexpr int m_VerticalSync = 2;
    static constexpr int m_FrameRateThrottle = 3;
    static constexpr int m_FullScreen = 4;
    static constexpr int m_Resolution = 5;
    static constexpr int m_EffectsVolume = 6;
    static constexpr int m_MusicVolume = 7;
    static constexpr int m_Pixels = 8;
    static constexpr int m_RedefineKeys = 9;
    static constexpr int m_Back = 10;
    static constexpr int m_LineCount = 11;

    struct Mode {
        int width;
        int height;
    };

    // Entering from the title: finds the current resolution among the display modes (writing
    // it back into the settings) and builds the menu with BACK selected.
    void p_OnInit();
    // Rewrites the setting lines (all but REDEFINE KEYS and BACK) from the current settings.
    void p_UpdateOptions();
    void p_Update();
    void p_Render();
    void p_OnUpdate() { p_Update(); }
    void p_OnRender() { p_Render(); }

    std::vector<Mode> m_modes;
    int m_modeIndex = -1; // the current resolution in m_modes
    std::unique_ptr<c_Menu> m_menu;

private:
    void Activate(int item);
    void Leave();
};

// The line texts, 32 characters for every value line.
String bb_options_DifficultyLine(int difficulty);
String bb_options_YesNoLine(const String& label, bool value);
String bb_options_ResolutionLine(int width, int height);
// A percentage: the volumes and the game speed.
String bb_options_VolumeLine(const String& label, int volume);
String bb_options_PixelsLine(bool sharp);
