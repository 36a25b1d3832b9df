// The end of a game: "SORRY - NO MONEY NO SKI!" over the snow, the hi-score recorded, and back to
// the title after 300 updates or at a key press.
#pragma once

class c_NoMoneyScreen {
public:
    static constexpr int kShowUpdates = 300;

    // Starts loading what the screen draws (if not started yet) and sets the timer.
    int p_OnInit();
    int p_OnUpdate();
    void p_Update();
    int p_OnRender();
    void p_Render();

    int m_timer = 0; // updates left before returning to the title

private:
    bool AssetsReady() const;
};
