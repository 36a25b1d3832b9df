// The transition between screens: bands of colour close in from the edges seven times, each in
// the next palette colour, with a falling "woop"; it also shows the pause notice.
#pragma once

struct c_FadeColour {
    float r, g, b;
};

class c_Fade {
public:
    static constexpr int m_Steps = 7;
    static constexpr int m_ThicknessStep = 16;
    static constexpr int m_FullThickness = 240;
    static constexpr int m_WoopChannel = 4;

    explicit c_Fade(bool reversed) : m_reversed(reversed) {}

    // True while the fade runs; false on the update in which it finishes (the counters are then
    // back at 0, so the next call starts a new fade). Stands still while the game is paused.
    bool p_OnUpdate();
    // Back to the idle state, as after a finished fade; an owner left in the middle of its fade
    // (by Escape) calls it on entering again, so the next fade starts from its first band.
    void p_Reset();
    // Draws the bands over whatever the owner drew, and the pause notice while paused.
    void p_OnRender();

    // The band colour of a step in this fade's colour order.
    c_FadeColour p_BandColour(int step) const;

    bool m_reversed;
    int m_thickness = 0; // 0 to 240 virtual pixels
    int m_step = 0;      // 0 to 6
};
